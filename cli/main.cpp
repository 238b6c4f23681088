#include "cli/CheckCommand.h"
#include "cli/InfoCommand.h"
#include "cli/RenderCommand.h"
#include "cli/ResaveCommand.h"
#include "cli/WiringCommands.h"

#include <QGuiApplication>
#include <QTextStream>

#include <array>
#include <cstdio>

namespace {

struct Command {
    const char *name;
    const char *summary;
    int (*run)(const QStringList &args, QTextStream &out, QTextStream &err);
};

constexpr std::array Commands{
    Command{"render", "draw the panel to a PNG, PDF or SVG file", kalmor::cli::runRenderCommand},
    Command{"info", "print the station's size, texts and element counts", kalmor::cli::runInfoCommand},
    Command{"resave", "read and write a station as the editor does", kalmor::cli::runResaveCommand},
    Command{"check", "list the layout problems and count the track circuits", kalmor::cli::runCheckCommand},
    Command{"io", "print the wire list: every I/O point with its board and pin", kalmor::cli::runIoCommand},
    Command{"parts", "print the parts list, per area and in total", kalmor::cli::runPartsCommand},
};

void printUsage(QTextStream &s)
{
    s << "usage: kalmor-cli COMMAND [ARGUMENTS]\n\ncommands:\n";
    for (const Command &c : Commands)
        s << "  " << QString::fromLatin1(c.name).leftJustified(8) << c.summary << "\n";
    s << "\n'kalmor-cli COMMAND --help' tells more about a command.\n";
}

// Qt's own notes on standard error (the runtime folder it falls back to,
// fonts it looks for) mean nothing to someone running a command, and the
// commands tell every failure themselves, naming the file. Only a fatal
// message, after which Qt ends the program, is still printed.
void keepQtQuiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg)
        std::fprintf(stderr, "kalmor-cli: %s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(keepQtQuiet);
    // Pictures need fonts and images, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    const QString name = args.value(0);
    if (name == u"--help" || name == u"help" || name == u"-h") {
        printUsage(out);
        return 0;
    }
    for (const Command &c : Commands) {
        if (name == QLatin1String(c.name))
            return c.run(args.mid(1), out, err);
    }
    if (!name.isEmpty())
        err << "kalmor-cli: unknown command '" << name << "'\n\n";
    printUsage(err);
    return 2;
}
