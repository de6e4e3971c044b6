// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/twipsrect.h"

#include <QSize>

class QPushButton;
class QTimer;
class QWidget;

namespace kelsing {

class Label;
class SheetView;
class Twips;
struct SheetModel;

/// The main window's controls with their design-time contents, built and laid out here so that
/// the window itself holds only its handlers and state. The window connects them.
class Form1Ui final {
public:
    /// The window's designed client area, which holds every control.
    static constexpr TwipsRect kClientArea{0, 0, 6975, 6000};
    static constexpr const char* kSingleViewCaption = "X | X"; // on the switch while single
    static constexpr const char* kSideBySideCaption = "X";     // on the switch while side by side

    /// Builds every control on a content area of `form`, named, captioned and described for
    /// screen readers; the sheet view paints `sheet`.
    void setupUi(QWidget* form, const SheetModel& sheet);

    /// Places the content area in the middle of a form of `formSize` at the scale of `twips`.
    void placeContent(const Twips& twips, QSize formSize);

    /// Places the content area and every control on it at the scale of `twips`.
    void layout(const Twips& twips, QSize formSize);

    /// Gives the texts their fonts at the scale of `twips`.
    void applyFonts(const Twips& twips);

    /// Lets the keyboard reach the crew boxes of the view showing (side by side or single) and
    /// the update notice while it holds a message; what the mouse cannot reach, Tab passes by.
    void setKeyboardReach(bool sideBySide);

    /// Draws the info and printer pictures for device pixel ratio `ratio`, from the desktop
    /// theme where `fromTheme` allows and the theme has them.
    void applyPictures(double ratio, bool fromTheme);

    // The area that holds every control, laid out at the window's scale.
    QWidget* content = nullptr;
    SheetView* sheetView = nullptr;
    // The controls, by the names the handlers use.
    Label* Label3 = nullptr; // month title
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr; // view switch
    Label* Label5 = nullptr;         // single crew box
    Label* Label8 = nullptr;         // left crew box
    Label* Label9 = nullptr;         // right crew box
    Label* Label2_38 = nullptr;      // update notice, element 38 of the day-number array
    Label* Image1 = nullptr;         // opens the about window
    Label* Image2 = nullptr;         // prints the sheet
    QTimer* Timer1 = nullptr;        // shortens the update notice

private:
    void buildNavigation();
    void buildCrewBoxes();
    void buildSwitchNoticeAndImages();
    void describeControls();
    void setUpKeyboard();
};

} // namespace kelsing
