#include "common/window_parts.h"

#include "common/model_profile.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace swz {

void applyWindowFont(QWidget *window)
{
    QFont font(QStringLiteral("Verdana"));
    font.setPointSize(8);
    window->setFont(font);
}

TitleBand makeTitleBand(QWidget *window, int width, int height)
{
    TitleBand band;
    band.panel = new QFrame(window);
    band.panel->setObjectName(QStringLiteral("P_Title"));
    band.panel->setGeometry(0, 0, width, height);
    band.panel->setAutoFillBackground(true);

    band.L_SW_Code = makeSoftwareCodeLabel(band.panel);
    band.L_SW_Desc = makeBoldGreyLabel(band.panel, QStringLiteral("L_SW_Desc"), 16, 44);
    return band;
}

QLabel *makeSoftwareCodeLabel(QWidget *parent)
{
    QLabel *label = makeLabel(parent, QStringLiteral("L_SW_Code"), 16, 8);
    QFont big = label->font();
    big.setPixelSize(32);
    label->setFont(big);
    label->setStyleSheet(QString::fromLatin1(kGreyText));
    setLabelText(label, profile::softwareCode);
    return label;
}

QLabel *makeBoldGreyLabel(QWidget *parent, const QString &name, int left, int top)
{
    QLabel *label = makeLabel(parent, name, left, top);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setStyleSheet(QString::fromLatin1(kGreyText));
    return label;
}

QPushButton *makeButton(QWidget *parent, const QString &name, int left, int top, int width,
                        int height)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    button->setGeometry(left, top, width, height);
    button->setAutoDefault(false);
    return button;
}

QLabel *makeLabel(QWidget *parent, const QString &name, int left, int top)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    // Project names and translated texts are shown as they are, never as markup.
    label->setTextFormat(Qt::PlainText);
    label->move(left, top);
    return label;
}

} // namespace swz

namespace swz {

void setLabelText(QLabel *label, const QString &text)
{
    label->setText(text);
    label->adjustSize();
}

} // namespace swz

namespace swz {

void setUpFixedDialog(QWidget *dialog, const QString &name, int width, int height)
{
    dialog->setObjectName(name);
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint
                           | Qt::WindowCloseButtonHint);
    dialog->setWindowModality(Qt::ApplicationModal);
    applyWindowFont(dialog);
    dialog->setFixedSize(width, height);
}

void centreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

} // namespace swz
