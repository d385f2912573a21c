#include "app/Application.h"
#include "library/LibraryListing.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include <cstdio>

namespace {
struct CommandLine {
    QString libraryFolder;
    bool list = false;
};

CommandLine parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Brevoir sound recorder"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption library(QStringLiteral("library"),
                                     QStringLiteral("Use DIR as the library folder for this run."),
                                     QStringLiteral("DIR"));
    const QCommandLineOption list(QStringLiteral("list"),
                                  QStringLiteral("Print the library's recordings and exit."));
    parser.addOptions({library, list});
    parser.process(arguments);
    CommandLine line;
    if (parser.isSet(library))
        line.libraryFolder = QDir(parser.value(library)).absolutePath();
    line.list = parser.isSet(list);
    return line;
}

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("Brevoir"));
    QCoreApplication::setOrganizationName(QStringLiteral("Brevoir"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BREVOIR_VERSION));
    const QStringList arguments = argumentsOf(argc, argv);
    const bool wantsList = arguments.contains(QStringLiteral("--list"));

    if (wantsList) {
        // Listing needs no display: no GUI application.
        QCoreApplication app(argc, argv);
        const CommandLine line = parse(arguments);
        return runLibraryListing(line.libraryFolder, stdout);
    }

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("brevoir"));
    const CommandLine line = parse(arguments);
    Application::installSignalHandlers();
    Application application({line.libraryFolder, true});
    application.launch();
    return application.exec();
}
