#pragma once

#include <QString>
#include <string>

class QWidget;

namespace tarvel {

// Moving values between a dialog's controls and its plain members, in one direction or the
// other: `save` reads the control into the member, otherwise the member is shown.

// A check box's state: 0 or 1 (a bool member: false or true).
void exchangeCheck(QWidget* control, bool save, int& member);
void exchangeCheck(QWidget* control, bool save, bool& member);
// A radio button that forms its own group: 0 when checked and -1 when not, as read; shown
// checked exactly when the member is 0.
void exchangeRadio(QWidget* control, bool save, int& member);
// An edit field's or a label's text (a std::string member holds UTF-8).
void exchangeText(QWidget* control, bool save, QString& member);
void exchangeText(QWidget* control, bool save, std::string& member);

}  // namespace tarvel
