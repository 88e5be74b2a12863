#pragma once
// Window texts from the catalogue. Every translatable control carries its
// numbers in the dynamic property "Tag": "A", "A;" or "A;H", where A is the
// caption or tooltip number (for icon buttons also the icon number) and H the
// number of the hint shown in the main window's help line.

#include <QString>
#include <functional>

class QObject;
class QWidget;

namespace kelbrin {

// The object's "Tag" property as text (empty when it has none).
QString TagOf(const QObject* object);
// A: the numeric value of the whole tag, which stops reading at the ";".
int TagNumber(const QString& tag);
// The hint number: the value of the text after the first ";", or of the whole
// tag when it has no ";". "1101;5037" -> 5037, "2103" -> 2103, "2101;" -> 0.
int TagHintNumber(const QString& tag);

// Command buttons (push and tool buttons) whose tag number A is above 0 become
// icon buttons: no caption, icon A, tooltip text A. A number without an icon
// ends the pass; that button and those after it keep their look.
void ApplyButtonIcons(QWidget* form);

// Labels, frames, check boxes and option buttons with A above 0 get the raw
// catalogue text A as caption; menu items (actions, or menus through their
// action) with A above 0 get text menuBase + A. Other controls are left alone.
void LoadLangCaptions(QWidget* form, int menuBase = 2000);

// The help line: whoever shows it registers here (the main window its help
// label). Returns the previous receiver.
using HintSink = std::function<void(const QString&)>;
HintSink SetHintSink(HintSink sink);

// Shows the hint named by a control's tag in the help line; 0 clears it.
void ShowHint(const QString& tag);

// Shows the hint of any tagged control of `window` (present or added later)
// when the mouse enters or moves over it. Installing twice has no further effect.
// A control's dynamic property kHintRoleProperty may say otherwise: "keep"
// (the line keeps its text over it, as over the help line itself) or "clear"
// (the line is emptied over it, tag or not).
inline constexpr const char* kHintRoleProperty = "HintRole";
void InstallHintOnHover(QWidget* window);

} // namespace kelbrin
