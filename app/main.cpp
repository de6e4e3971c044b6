#include "base/version.h"
#include "mainwindow/form1.h"
#include "platform/displayscale.h"
#include "platform/pictures.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[]) {
    // Before the application object, which reads the scale factors.
    const double smallestScale = kelsing::DisplayScale::takeFactorBelowOne();
    QApplication app(argc, argv);
    QApplication::setApplicationName(
        QString::fromUtf8(kelsing::kApplicationTitle.data(), kelsing::kApplicationTitle.size()));
    QApplication::setApplicationVersion(
        QString::fromUtf8(kelsing::kVersionText.data(), kelsing::kVersionText.size()));
    QApplication::setDesktopFileName(QStringLiteral("kelsing-schedule"));
    QApplication::setWindowIcon(kelsing::Pictures::programIcon());

    kelsing::Form1Services services;
    services.smallestScale = smallestScale;
    kelsing::Form1 window(std::move(services));
    // The window opens centred on the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        window.move(available.center() - window.rect().center());
    }
    window.show();
    return QApplication::exec();
}
