#pragma once

#include "document/StationDocument.h"

#include <QStringList>
#include <QTextStream>

#include <optional>

namespace kalmor::cli {

// Exit status of every command: done, or the input could not be read, the
// output could not be written or the command line was wrong.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 2;

// The arguments of one command: options with a value, switches and the
// rest in order. Unknown options are an error of the caller's choosing.
class CommandArguments {
public:
    CommandArguments(const QStringList &args, const QStringList &valueOptions, const QStringList &switches);

    bool ok() const { return m_error.isEmpty(); }
    const QString &error() const { return m_error; }
    bool has(const QString &option) const { return m_given.contains(option); }
    QString value(const QString &option) const { return m_values.value(option); }
    const QStringList &positional() const { return m_positional; }

private:
    QStringList m_given;
    QHash<QString, QString> m_values;
    QStringList m_positional;
    QString m_error;
};

// Reads a station file as Open does, into a freshly started document.
// Tells the reason on `err` and gives nothing when it cannot.
std::optional<StationData> readStation(const QString &path, QTextStream &err);

// A report on one station file (info, check), as text or with --json.
struct ReportRequest {
    std::optional<StationData> station;  // nothing: end with exit
    bool json = false;
    int exit = ExitOk;
};

// Reads the station a report is asked for. --help prints the usage; a
// wrong command line or a file that cannot be read is told on err.
ReportRequest reportRequest(const QStringList &args, const QString &command, const char *usage, QTextStream &out,
                            QTextStream &err);

// A whole number within the bounds, or nothing.
std::optional<int> numberIn(const QString &text, int lowest, int highest);

// "kalmor-cli: " and the message, on its own line.
void complain(QTextStream &err, const QString &message);

}  // namespace kalmor::cli
