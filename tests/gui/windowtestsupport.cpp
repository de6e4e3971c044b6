#include "windowtestsupport.h"

#include "about/frmabout.h"
#include "crews/form2.h"
#include "platform/label.h"

#include <QApplication>
#include <QTest>

namespace kelsing::WindowTests {

DaySerial dayOf(int year, unsigned month, unsigned day) {
    return toDaySerial(std::chrono::year{year} / std::chrono::month{month} / std::chrono::day{day});
}

Window openWindow(DaySerial today, Form1Services services, QSize size) {
    Window w;
    w.today = std::make_shared<DaySerial>(today);
    services.today = [t = w.today] { return *t; };
    // Nothing listens there, so the version check ends quietly without leaving the machine.
    services.siteHost = QUrl(QStringLiteral("http://127.0.0.1:9"));
    if (!services.openUrl) {
        services.openUrl = [](const QUrl&) {};
    }
    w.form = std::make_unique<Form1>(services);
    w.form->move(40, 30);
    if (size.isValid()) {
        w.form->resize(size);
    }
    w.form->show();
    w.form->activateWindow();
    if (!QTest::qWaitForWindowActive(w.form.get())) {
        qFatal("the main window is not active");
    }
    return w;
}

QWidget* control(QWidget& parent, const QString& name) {
    auto* widget = parent.findChild<QWidget*>(name);
    if (!widget) {
        qFatal("no control %s", qPrintable(name));
    }
    return widget;
}

void clickAt(QWidget& window, QPoint position, Qt::MouseButton button) {
    QTest::mouseClick(window.windowHandle(), button, {}, position);
}

void clickControl(QWidget& window, const QString& name, Qt::MouseButton button) {
    const QWidget* target = control(window, name);
    clickAt(window, target->mapTo(&window, target->rect().center()), button);
}

QList<Form2*> openChoosers() {
    QList<Form2*> choosers;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* chooser = qobject_cast<Form2*>(window); chooser && chooser->isVisible()) {
            choosers << chooser;
        }
    }
    return choosers;
}

QList<frmAbout*> openAboutWindows() {
    QList<frmAbout*> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* about = qobject_cast<frmAbout*>(window); about && about->isVisible()) {
            windows << about;
        }
    }
    return windows;
}

bool walkChooser(Form2& chooser, const QString& path) {
    const char* columns[] = {"Label1", "Label2", "Label4"};
    const QStringList captions = path.split(QLatin1Char('/'));
    for (int i = 0; i < captions.size() && i < 3; ++i) {
        Label* found = nullptr;
        for (int entry = 0; entry < Form2::kEmployerEntries && !found; ++entry) {
            auto* label = chooser.findChild<Label*>(
                QStringLiteral("%1_%2").arg(QLatin1String(columns[i])).arg(entry));
            if (label && !label->isHidden() && label->text() == captions[i]) {
                found = label;
            }
        }
        if (!found) {
            qWarning("no entry %s", qPrintable(captions[i]));
            return false;
        }
        clickControl(chooser, found->objectName());
    }
    return true;
}

} // namespace kelsing::WindowTests
