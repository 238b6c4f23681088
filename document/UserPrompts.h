#pragma once

#include "document/Colours.h"

#include <QString>

#include <optional>

namespace kalmor {

// Every question, note, file dialog and colour dialog goes through this
// interface, so that every command runs headless under test with scripted
// answers. The program uses the Qt implementation.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // A Yes/No question; only Yes counts as consent.
    virtual bool ask(const QString &question) = 0;
    // The same question where Yes would throw work away: No is the
    // default button, so Enter and Esc keep the work.
    virtual bool askPresetNo(const QString &question) { return ask(question); }
    // A note with a single OK button.
    virtual void inform(const QString &message) = 0;
    // A failure or refusal with a single OK button, marked as a warning.
    virtual void warn(const QString &message) = 0;
    // The open and save dialogs; nothing when cancelled.
    virtual std::optional<QString> chooseOpenPath() = 0;
    virtual std::optional<QString> chooseSavePath() = 0;
    // The save dialog of picture exports (PNG, PDF, SVG); prompts without
    // one answer as cancelled.
    virtual std::optional<QString> chooseExportPath() { return std::nullopt; }
    // The colour dialog, opened with `initial`; nothing when cancelled.
    virtual std::optional<Colour> chooseColour(Colour initial) = 0;
};

}  // namespace kalmor
