#include "cli/CommandArguments.h"

#include "document/StationFile.h"

namespace kalmor::cli {

CommandArguments::CommandArguments(const QStringList &args, const QStringList &valueOptions,
                                   const QStringList &switches)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (valueOptions.contains(arg)) {
            if (i + 1 >= args.size()) {
                m_error = QStringLiteral("option %1 needs a value").arg(arg);
                return;
            }
            m_given << arg;
            m_values.insert(arg, args.at(++i));
        } else if (switches.contains(arg)) {
            m_given << arg;
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            m_error = QStringLiteral("unknown option %1").arg(arg);
            return;
        } else {
            m_positional << arg;
        }
    }
}

std::optional<StationData> readStation(const QString &path, QTextStream &err)
{
    StationData data = StationData().settingsOnly();
    const FileResult result = readStationFile(path, data);
    if (!result.ok()) {
        complain(err, path + QStringLiteral(": ") + result.error);
        return std::nullopt;
    }
    return data;
}

std::optional<int> numberIn(const QString &text, int lowest, int highest)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < lowest || n > highest)
        return std::nullopt;
    return n;
}

void complain(QTextStream &err, const QString &message)
{
    err << "kalmor-cli: " << message << Qt::endl;
}

ReportRequest reportRequest(const QStringList &args, const QString &command, const char *usage, QTextStream &out,
                            QTextStream &err)
{
    ReportRequest request;
    if (args.contains(QStringLiteral("--help"))) {
        out << usage;
        return request;
    }
    request.exit = ExitFailed;
    const CommandArguments a(args, {}, {QStringLiteral("--json")});
    if (!a.ok() || a.positional().size() != 1) {
        complain(err, a.ok() ? QStringLiteral("%1 needs one station file").arg(command) : a.error());
        err << usage;
        return request;
    }
    request.json = a.has(QStringLiteral("--json"));
    request.station = readStation(a.positional().first(), err);
    return request;
}

}  // namespace kalmor::cli
