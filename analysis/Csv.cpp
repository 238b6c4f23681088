#include "analysis/Csv.h"

namespace kalmor {

namespace {

// A field holding the separator, a quote or a line break is quoted, its
// quotes doubled.
QString csvField(const QString &field)
{
    if (!field.contains(u';') && !field.contains(u'"') && !field.contains(u'\n') && !field.contains(u'\r'))
        return field;
    QString quoted = field;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

}  // namespace

void CsvTable::addRow(const QStringList &fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString &f : fields)
        quoted << csvField(f);
    m_csvLines << quoted.join(u';');
    m_textLines << fields.join(u'\t');
}

QByteArray CsvTable::csv() const
{
    return QByteArrayLiteral("\xEF\xBB\xBF") + (m_csvLines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QString CsvTable::text() const
{
    return m_textLines.join(u'\n') + u'\n';
}

}  // namespace kalmor
