// kalmor-cli: the editor's work without a display. The first argument
// names the command; each command answers --help.
#include "cli/CheckCommand.h"

#include <QCoreApplication>
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
    Command{"check", "check the track layout of a station file", kalmor::runCheckCommand},
};

void printUsage(QTextStream &stream)
{
    stream << "usage: kalmor-cli COMMAND [ARGUMENTS]\n\ncommands:\n";
    for (const Command &c : Commands)
        stream << "  " << QString::fromLatin1(c.name).leftJustified(10) << c.summary << '\n';
    stream << "\n\"kalmor-cli COMMAND --help\" describes a command.\n";
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments().mid(1);
    const QString name = args.isEmpty() ? QString() : args.takeFirst();
    if (name == QStringLiteral("--help") || name == QStringLiteral("help")) {
        printUsage(out);
        return 0;
    }
    for (const Command &c : Commands) {
        if (name == QLatin1String(c.name))
            return c.run(args, out, err);
    }
    if (!name.isEmpty())
        err << "kalmor-cli: unknown command \"" << name << "\"\n\n";
    printUsage(err);
    return 2;
}
