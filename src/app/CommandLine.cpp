// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "Version.h"
#include "platform/Console.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

int CommandLine::answer(const QStringList& arguments, QString* out)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Changes the chat colors of Anarchy Online in its TextColors.xml.\n"
                       "Tintwell keeps its settings in Tintwell.cfg in the folder it is "
                       "started from."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // Qt's own options (-style, -reverse) are words, not letters to read one by one, and
    // the application object takes them: an unknown option is no error here.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.parse(arguments);
    if (parser.isSet(version)) {
        *out = QStringLiteral("Tintwell %1\n").arg(QLatin1String(Version::full));
        return 0;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        *out = parser.helpText();
        return 0;
    }
    return -1;
}

int CommandLine::answerOnConsole(int argc, char* argv[])
{
    // An application object that needs no display, for the arguments as the system
    // gave them and for the help text; the window's own comes after it.
    int count = argc;
    const QCoreApplication core(count, argv);
    QString out;
    const int status = answer(QCoreApplication::arguments(), &out);
    if (status < 0)
        return status;
    Console::attachToParent();
    std::fputs(out.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
    return status;
}
