#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QWidget>
#include <optional>

#include "shell/appearance.h"

namespace kx {

QColor bgrColour(Bgr colour);
Bgr toBgr(const QColor& colour);

// Graphical buttons draw their own face and caption: the back colour, and the caption centred on
// one line in the text colour, shifted one pixel right and down while pressed.
void makeGraphical(QAbstractButton* button);
bool isGraphical(const QAbstractButton* button);
void setButtonBackColour(QAbstractButton* button, Bgr colour);
// Only for an enabled graphical button. A standard one takes nothing and gives the configuration
// message "<name>的Style属性应设为1(Graphical)" for the caller to show; "" otherwise.
QString setButtonTextColour(QAbstractButton* button, Bgr colour);
// A face colour, or the system's button face when none is given.
void setButtonFace(QAbstractButton* button, std::optional<Bgr> colour);
std::optional<Bgr> buttonBackColour(const QAbstractButton* button);
std::optional<Bgr> buttonTextColour(const QAbstractButton* button);

// Background and text colour of any control (a frame, label, check box ...).
void setControlColours(QWidget* control, std::optional<Bgr> back, std::optional<Bgr> text);
// The background of a text box, or the system's when none is given.
void setTextBoxBack(QWidget* box, std::optional<Bgr> back);

// Under the full scheme: the common colours on every control of the view by its type; command
// buttons become graphical, take the command text colour and the caption breaks.
void applyViewColours(QWidget* view, const Appearance& appearance);

}  // namespace kx
