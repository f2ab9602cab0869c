#include "app/about_window.h"

#include "app/model_profile.h"
#include "common/desktop.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>

namespace swz {

namespace {

constexpr int kWidth = 425;
constexpr int kHeight = 148;

// The product's badge, drawn rather than shipped as a file so the window never lacks it.
QPixmap productBadge()
{
    QPixmap pixmap(81, 81);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 2));
    painter.setBrush(QColor(0xE4, 0xE4, 0xDC));
    painter.drawRoundedRect(QRectF(2, 2, 77, 77), 10, 10);
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(22);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawText(QRect(0, 8, 81, 40), Qt::AlignCenter, QStringLiteral("K20"));
    font.setPixelSize(10);
    font.setBold(false);
    painter.setFont(font);
    painter.drawText(QRect(0, 46, 81, 24), Qt::AlignCenter, profile::makerName);
    return pixmap;
}

} // namespace

TFAbout::TFAbout(QWidget *parent)
    : QDialog(parent)
{
    setUpFixedDialog(this, QStringLiteral("TFAbout"), kWidth, kHeight);
    setWindowTitle(profile::softwareCode);

    m_picture = makeLabel(this, QStringLiteral("Image2"), 32, 24);
    m_picture->resize(81, 81);
    m_picture->setScaledContents(true);
    m_picture->setPixmap(productBadge());
    m_picture->setCursor(Qt::PointingHandCursor);
    m_picture->setAccessibleName(profile::makerWebAddress);
    m_picture->installEventFilter(this);

    setLabelText(makeLabel(this, QStringLiteral("Label1"), 128, 24),
                 QStringLiteral("Software Corvane "));
    m_description = makeLabel(this, QStringLiteral("Label2"), 128, 39);
    setLabelText(makeLabel(this, QStringLiteral("Label6"), 128, 62),
                 QStringLiteral("Software Code : "));
    m_softwareCode = makeLabel(this, QStringLiteral("Label9"), 240, 62);
    setLabelText(makeLabel(this, QStringLiteral("Label3"), 128, 77), QStringLiteral("Version :"));
    m_version = makeLabel(this, QStringLiteral("Label10"), 240, 77);
    setLabelText(makeLabel(this, QStringLiteral("Label8"), 128, 93),
                 QStringLiteral("Document Code :"));
    m_documentCode = makeLabel(this, QStringLiteral("Label12"), 240, 93);

    m_web = makeLabel(this, QStringLiteral("Label4"), 316, 131);
    m_web->setCursor(Qt::PointingHandCursor);
    m_web->installEventFilter(this);
    setLabelText(m_web, profile::makerWebAddress);
    // A long address in a wide fallback font must not run past the window's edge.
    if (m_web->x() + m_web->width() > kWidth - 4)
        m_web->move(kWidth - 4 - m_web->width(), m_web->y());

    auto *ok = makeButton(this, QStringLiteral("LbButton1"), 32, 115, 81, 22);
    ok->setText(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    FormShow();
}

void TFAbout::FormShow()
{
    setLabelText(m_description, profile::modelDescription);
    setLabelText(m_softwareCode, profile::softwareCode);
    setLabelText(m_version, profile::softwareVersion);
    setLabelText(m_documentCode, profile::documentCode);
    setFixedSize(kWidth, kHeight);
}

void TFAbout::Label4Click()
{
    urlOpener().openUrl(profile::homePageUrl());
}

void TFAbout::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        FormShow();
        centreOnScreen(this);
    }
    QDialog::showEvent(event);
}

bool TFAbout::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_web || watched == m_picture) && event->type() == QEvent::MouseButtonRelease) {
        Label4Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace swz
