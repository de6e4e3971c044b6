// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up floor: a Qt Widgets window of the main window's designed size with one painted
// text, linked against Qt Widgets alone, reporting its first frame the way the program does.

#include "platform/firstframe.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {

class BareWindow final : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Kelsing Shift Workers Schedule"));
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    BareWindow window;
    window.resize(465, 400);
    kelsing::reportFirstFrameIfAsked(&window);
    window.show();
    return QApplication::exec();
}
