#pragma once

#include "document/UserPrompts.h"

class QFileDialog;
class QObject;
class QWidget;

namespace kalmor {

// The window system's own boxes and dialogs. The two file dialogs belong
// to the main window and live as long as it does, so each keeps the name
// last chosen in it.
class QtPrompts : public UserPrompts {
public:
    explicit QtPrompts(QWidget *owner);

    bool ask(const QString &question) override;
    bool askPresetNo(const QString &question) override;
    void inform(const QString &message) override;
    void warn(const QString &message) override;
    std::optional<QString> chooseOpenPath() override;
    std::optional<QString> chooseSavePath() override;
    std::optional<QString> chooseExportPath() override;
    std::optional<ExportChoice> chooseExport(const QStringList &areaNames) override;
    std::optional<QString> chooseCsvPath(const QString &caption) override;
    std::optional<Colour> chooseColour(Colour initial) override;

    QFileDialog *openDialog() const { return m_open; }
    QFileDialog *saveDialog() const { return m_save; }
    QFileDialog *exportDialog() const { return m_export; }
    QFileDialog *csvDialog() const { return m_csv; }

private:
    QWidget *dialogParent() const;

    // All four outlive this object: the dialogs are the owner's children
    // and this object is a member of the owner.
    QWidget *m_owner;
    QFileDialog *m_open;
    QFileDialog *m_save;
    QFileDialog *m_export;
    QFileDialog *m_csv;
};

// Installs Qt's own Czech texts (Ano/Ne, Storno, the file dialog) when the
// translation is installed; returns whether it was.
bool installCzechQtTranslation(QObject *owner);

}  // namespace kalmor
