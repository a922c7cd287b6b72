#include <pavonis/programmes/Options.h>

#include <pavonis/platform/TraductionQt.h>

#include <QCoreApplication>
#include <QFileInfo>

#include <csignal>
#include <cstdio>
#include <memory>

namespace pavonis::programmes {

QCommandLineOption optionAide()
{
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                              QStringLiteral("affiche cette aide"));
}

std::optional<int> analyser(QCommandLineParser& parser, int argc, char** argv, const char* aide)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (parser.parse(arguments) && !parser.isSet(QStringLiteral("help")))
        return std::nullopt;
    // The parser's messages come from Qt's translations, which need an
    // application: a short-lived one when the program has none yet.
    std::unique_ptr<QCoreApplication> application;
    if (!QCoreApplication::instance())
        application = std::make_unique<QCoreApplication>(argc, argv);
    traduireQt();
    const QString nom = QFileInfo(arguments.value(0)).fileName();
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s: %s\nEssayez « %s --help ».\n", qUtf8Printable(nom),
                     qUtf8Printable(parser.errorText()), qUtf8Printable(nom));
        return 2;
    }
    std::fputs(aide, stdout);
    return 0;
}

void preparerSorties()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace pavonis::programmes
