#include "view/DesignFont.h"

#include <QFont>
#include <QFontInfo>

namespace kalmor {

namespace {

const QString DesignFamily = QStringLiteral("Tahoma");

}  // namespace

void useDesignFontFallback()
{
    QFont::insertSubstitution(DesignFamily, QStringLiteral("DejaVu Sans"));
}

QString designFontFace()
{
    return QFontInfo(QFont(DesignFamily)).family();
}

}  // namespace kalmor
