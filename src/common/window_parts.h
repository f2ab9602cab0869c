#pragma once

#include <QString>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;

namespace swz {

// Builds the title band shared by the configurator's windows: the software code in large grey
// type and a description below it.
struct TitleBand
{
    QFrame *panel = nullptr;
    QLabel *L_SW_Code = nullptr;
    QLabel *L_SW_Desc = nullptr;
};
TitleBand makeTitleBand(QWidget *window, int width, int height = 69);

// A button of fixed size at a position, named for the tests.
QPushButton *makeButton(QWidget *parent, const QString &name, int left, int top, int width,
                        int height);

// The large grey software-code label at the top left of every window.
QLabel *makeSoftwareCodeLabel(QWidget *parent);

// A bold grey label at a position, as used for titles and step names.
QLabel *makeBoldGreyLabel(QWidget *parent, const QString &name, int left, int top);

// A label at a position, named for the tests.
QLabel *makeLabel(QWidget *parent, const QString &name, int left, int top);

// Applies the configurator's window font.
void applyWindowFont(QWidget *window);

inline constexpr const char *kGreyText = "color: #808080;";

} // namespace swz

namespace swz {

// Sets a label's text and fits the label to it.
void setLabelText(QLabel *label, const QString &text);

// Every window re-applies its texts from the UI text table here.
class LanguageAware
{
public:
    virtual ~LanguageAware() = default;
    virtual void Set_Lang() = 0;
};

} // namespace swz

namespace swz {

// The frame of a fixed-size modal window: name, close box only, font and client size.
void setUpFixedDialog(QWidget *dialog, const QString &name, int width, int height);

// Places a window in the middle of its screen.
void centreOnScreen(QWidget *window);

} // namespace swz
