#include <QCoreApplication>
#include <QTextStream>

// Until the engine lands the program only tells which build it is.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Orvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVEL_VERSION));
    QTextStream(stdout) << "Orvel " << ORVEL_VERSION << '\n';
    return 0;
}
