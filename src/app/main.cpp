#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream(stdout) << "zelvan " << ZELVAN_VERSION << Qt::endl;
    return 0;
}
