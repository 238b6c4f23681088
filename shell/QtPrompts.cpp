#include "shell/QtPrompts.h"

#include "render/SystemColours.h"
#include "shell/FieldSizeBox.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QColorDialog>
#include <QCompleter>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace kalmor {

namespace {

QFileDialog *makeFileDialog(QWidget *owner, const char *objectName, QFileDialog::AcceptMode mode)
{
    auto *d = new QFileDialog(owner);
    d->setObjectName(QLatin1String(objectName));
    d->setAcceptMode(mode);
    // Neither dialog insists on an existing file nor asks before overwriting.
    d->setFileMode(QFileDialog::AnyFile);
    d->setOption(QFileDialog::DontConfirmOverwrite, true);
    d->setNameFilter(QStringLiteral("Stanice Kalmor (*.stvx)"));
    // The extension the filter and the file type name: on Linux a name
    // ending in ".STVX" would be another file.
    d->setDefaultSuffix(QStringLiteral("stvx"));
    return d;
}

// Pictures: the chosen filter gives the extension of a name typed
// without one. Unlike a station file, a picture is not written over
// without asking.
QFileDialog *makeExportDialog(QWidget *owner)
{
    auto *d = new QFileDialog(owner, QStringLiteral("Exportovat obrázek"));
    d->setObjectName(QStringLiteral("Exportovat"));
    d->setAcceptMode(QFileDialog::AcceptSave);
    d->setFileMode(QFileDialog::AnyFile);
    const QStringList filters{QStringLiteral("Obrázek PNG (*.png)"), QStringLiteral("Dokument PDF (*.pdf)"),
                              QStringLiteral("Obrázek SVG (*.svg)")};
    const QStringList suffixes{QStringLiteral("png"), QStringLiteral("pdf"), QStringLiteral("svg")};
    d->setNameFilters(filters);
    d->setDefaultSuffix(suffixes.first());
    QObject::connect(d, &QFileDialog::filterSelected, d, [d, filters, suffixes](const QString &filter) {
        d->setDefaultSuffix(suffixes.value(filters.indexOf(filter), suffixes.first()));
    });
    // Two choices below the file name: one area only, and for PDF the
    // size of a cell on paper. Qt's own dialog, whose layout takes them.
    d->setOption(QFileDialog::DontUseNativeDialog, true);
    if (auto *grid = qobject_cast<QGridLayout *>(d->layout())) {
        auto *area = new QComboBox(d);
        area->setObjectName(QStringLiteral("CB_JenOblast"));
        auto *size = new FieldSizeBox(QStringLiteral("jako na obrazovce"), d);
        size->setToolTip(QStringLiteral("Jen pro PDF: velikost jednoho pole na papíře, strany se značkami pro "
                                        "ořez"));
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(QStringLiteral("Jen oblast:"), d), row, 0);
        grid->addWidget(area, row, 1);
        grid->addWidget(new QLabel(QStringLiteral("Velikost pole:"), d), row + 1, 0);
        grid->addWidget(size, row + 1, 1);
    }
    return d;
}

QFileDialog *makeCsvDialog(QWidget *owner)
{
    auto *d = new QFileDialog(owner);
    d->setObjectName(QStringLiteral("ExportovatTabulku"));
    d->setAcceptMode(QFileDialog::AcceptSave);
    d->setFileMode(QFileDialog::AnyFile);
    d->setNameFilter(QStringLiteral("Tabulka CSV (*.csv)"));
    d->setDefaultSuffix(QStringLiteral("csv"));
    return d;
}

std::optional<QString> runFileDialog(QFileDialog *d)
{
    // The name last chosen is offered again. It is put in just before the
    // dialog opens: set into a hidden dialog, it would pop up the name
    // completer over the main window.
    static const char *const LastChosen = "lastChosen";
    if (const QString last = d->property(LastChosen).toString(); !last.isEmpty())
        d->selectFile(last);
    const int result = d->exec();
    // A name typed and confirmed with Enter leaves the completer's list
    // open after the dialog has gone.
    for (QCompleter *c : d->findChildren<QCompleter *>())
        c->popup()->hide();
    if (result != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = d->selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    d->setProperty(LastChosen, files.first());
    return files.first();
}

}  // namespace

QtPrompts::QtPrompts(QWidget *owner)
    : m_owner(owner)
    , m_open(makeFileDialog(owner, "Otevrit", QFileDialog::AcceptOpen))
    , m_save(makeFileDialog(owner, "Ulozit", QFileDialog::AcceptSave))
    , m_export(makeExportDialog(owner))
    , m_csv(makeCsvDialog(owner))
{
}

QWidget *QtPrompts::dialogParent() const
{
    if (QWidget *active = QApplication::activeWindow())
        return active;
    return m_owner;
}

bool QtPrompts::ask(const QString &question)
{
    return QMessageBox::question(dialogParent(), QStringLiteral("Potvrzení"), question,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        == QMessageBox::Yes;
}

bool QtPrompts::askPresetNo(const QString &question)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Potvrzení"), question, QMessageBox::Yes | QMessageBox::No,
                    dialogParent());
    box.setObjectName(QStringLiteral("Potvrzeni"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtPrompts::inform(const QString &message)
{
    QMessageBox::information(dialogParent(), QStringLiteral("Kalmor"), message, QMessageBox::Ok);
}

void QtPrompts::warn(const QString &message)
{
    QMessageBox::warning(dialogParent(), QStringLiteral("Kalmor"), message, QMessageBox::Ok);
}

std::optional<QString> QtPrompts::chooseOpenPath()
{
    return runFileDialog(m_open);
}

std::optional<QString> QtPrompts::chooseSavePath()
{
    return runFileDialog(m_save);
}

std::optional<QString> QtPrompts::chooseExportPath()
{
    return runFileDialog(m_export);
}

std::optional<UserPrompts::ExportChoice> QtPrompts::chooseExport(const QStringList &areaNames)
{
    auto *area = m_export->findChild<QComboBox *>(QStringLiteral("CB_JenOblast"));
    auto *size = m_export->findChild<FieldSizeBox *>();
    if (area) {
        const QString kept = area->currentText();
        area->clear();
        area->addItem(QStringLiteral("celý panel"));
        area->addItems(areaNames);
        area->setCurrentIndex(std::max(0, area->findText(kept)));
    }
    const std::optional<QString> path = runFileDialog(m_export);
    if (!path)
        return std::nullopt;
    return ExportChoice{*path, area ? area->currentIndex() - 1 : -1, size ? size->millimetres() : 0};
}

std::optional<QString> QtPrompts::chooseCsvPath(const QString &caption)
{
    m_csv->setWindowTitle(caption);
    return runFileDialog(m_csv);
}

std::optional<Colour> QtPrompts::chooseColour(Colour initial)
{
    const QColor chosen = QColorDialog::getColor(toQColor(initial), dialogParent());
    if (!chosen.isValid())
        return std::nullopt;
    return rgbColour(chosen.red(), chosen.green(), chosen.blue());
}

bool installCzechQtTranslation(QObject *owner)
{
    auto *translator = new QTranslator(owner);
    if (!translator->load(QStringLiteral("qtbase_cs"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace kalmor
