// The yardstick for the log-in check's start: a bare Qt program linked with QtGui, which
// makes its application object and one picture, and ends.
#include <QCoreApplication>
#include <QImage>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QImage picture(1, 1, QImage::Format_RGB32);
    return picture.isNull() ? 1 : 0;
}
