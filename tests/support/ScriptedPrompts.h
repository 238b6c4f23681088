#pragma once

#include "document/UserPrompts.h"

#include <QStringList>

#include <deque>
#include <optional>

namespace kalmor {

// Answers questions and dialogs from queues and records everything asked,
// so commands run headless under test. An empty queue answers No / Cancel.
class ScriptedPrompts : public UserPrompts {
public:
    std::deque<bool> answers;
    std::deque<std::optional<QString>> openPaths;
    std::deque<std::optional<QString>> savePaths;
    std::deque<std::optional<QString>> exportPaths;
    std::deque<std::optional<Colour>> colours;
    std::deque<std::optional<QString>> csvPaths;
    // When empty, the export dialog answers from exportPaths.
    std::deque<std::optional<ExportChoice>> exportChoices;

    QStringList questions;
    // The questions asked with No as their default answer.
    QStringList presetNo;
    // Every note and warning shown, in order; the warnings also on their own.
    QStringList messages;
    QStringList warnings;
    int openDialogs = 0;
    int saveDialogs = 0;
    int exportDialogs = 0;
    QList<Colour> colourDialogInitials;
    QStringList csvDialogs;          // their captions
    QList<QStringList> exportAreas;  // the areas each export dialog offered

    bool ask(const QString &question) override
    {
        questions << question;
        return take(answers).value_or(false);
    }
    bool askPresetNo(const QString &question) override
    {
        presetNo << question;
        return ask(question);
    }
    void inform(const QString &message) override { messages << message; }
    void warn(const QString &message) override
    {
        messages << message;
        warnings << message;
    }
    std::optional<QString> chooseOpenPath() override
    {
        ++openDialogs;
        return take(openPaths).value_or(std::nullopt);
    }
    std::optional<QString> chooseSavePath() override
    {
        ++saveDialogs;
        return take(savePaths).value_or(std::nullopt);
    }
    std::optional<QString> chooseExportPath() override
    {
        ++exportDialogs;
        return take(exportPaths).value_or(std::nullopt);
    }
    std::optional<ExportChoice> chooseExport(const QStringList &areaNames) override
    {
        exportAreas << areaNames;
        if (exportChoices.empty())
            return UserPrompts::chooseExport(areaNames);
        ++exportDialogs;
        return take(exportChoices).value_or(std::nullopt);
    }
    std::optional<QString> chooseCsvPath(const QString &caption) override
    {
        csvDialogs << caption;
        return take(csvPaths).value_or(std::nullopt);
    }
    std::optional<Colour> chooseColour(Colour initial) override
    {
        colourDialogInitials << initial;
        return take(colours).value_or(std::nullopt);
    }

private:
    template <class T>
    static std::optional<T> take(std::deque<T> &q)
    {
        // Built in place: GCC 12 takes a moved-from optional<QString> copy
        // for possibly uninitialised and fails the build.
        std::optional<T> v;
        if (!q.empty()) {
            v.emplace(std::move(q.front()));
            q.pop_front();
        }
        return v;
    }
};

}  // namespace kalmor
