// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmVoice.h"

#include "ui/Logging.h"
#include "ui/Accessibility.h"
#include "ui/CaptionFit.h"
#include "ui/ComboBoxBinding.h"
#include "ui/ComboTool.h"
#include "ui/ListViewBinding.h"
#include "ui/MainLayout.h"
#include "session/UserMessages.h"
#include "ui/WindowPlacement.h"
#include "jabbly/error.h"
#include "jabbly/speechengine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QStyle>
#include <QListView>

#include <algorithm>

namespace jabbly {

namespace {

constexpr int16_t NormalSpeedItem = NormalSpeed - SlowestSpeed;
constexpr int16_t DropHeight = 500;

}  // namespace

frmVoice::frmVoice(QWidget *owner, Services services)
    : QWidget(owner, OwnedWindow),
      services_(services),
      lstVoicesView_(new QListView(this)),
      chkSpeak_(new QCheckBox(QStringLiteral("&Speak"), this)),
      cmbSpeed_(new QComboBox(this)),
      chkNames_(new QCheckBox(QStringLiteral("Say &names"), this))
{
    setObjectName(QStringLiteral("frmVoice"));
    setAccessibleRole(*this, QAccessible::Dialog);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Speech Options"));

    lstVoicesView_->setObjectName(QStringLiteral("lstVoices"));
    chkSpeak_->setObjectName(QStringLiteral("chkSpeak"));
    cmbSpeed_->setObjectName(QStringLiteral("cmbSpeed"));
    chkNames_->setObjectName(QStringLiteral("chkNames"));
    describeForScreenReaders(*lstVoicesView_, QStringLiteral("Voices"), QStringLiteral("The voice Jabbly speaks with"));
    describeForScreenReaders(*chkSpeak_, QStringLiteral("Speak"),
                             QStringLiteral("Speak every line of the conversation"));
    describeForScreenReaders(*cmbSpeed_, QStringLiteral("Speed"),
                             QStringLiteral("How fast Jabbly speaks, from 50 to 250; 150 is normal"));
    describeForScreenReaders(*chkNames_, QStringLiteral("Say names"),
                             QStringLiteral("Say who is speaking before each line"));
    // The drop-down's accessible name would go unread (see labelForScreenReaders).
    labelForScreenReaders(*cmbSpeed_, QStringLiteral("Speed"));
    closeOnEscape(*this);
    setTabOrder(lstVoicesView_, chkSpeak_);
    setTabOrder(chkSpeak_, cmbSpeed_);
    setTabOrder(cmbSpeed_, chkNames_);

    bindListView(*lstVoicesView_, lstVoices_);
    // Voice names are longer than the list is wide ("English (America), female"): each
    // can be read in full from its tooltip, by a screen reader, and by scrolling sideways.
    lstVoices_.setFullTextTips(true);
    connect(&lstVoices_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { widenFor(first, last); });
    bindComboBox(*cmbSpeed_, cmbSpeedList_);
    lstVoices_.setSelectionHandler([this] { lstVoices_Click(); });
    cmbSpeedList_.setSelectionHandler([this] { cmbSpeed_Click(); });

    Form_Load(readSpeechSwitches(services_.settings));
    placeControls();
    centreOnScreen(*this);
}

// The design layout, where the desktop's font lets every caption and speed show whole.
// A control that needs more room grows about its design centre line, so its text stays
// where the design put it, but never over the controls before it; those after it in its
// row move right; the window grows to hold what no longer fits in it.
void frmVoice::placeControls()
{
    const QRect list = toPixels(TwipRect{0, 0, 2175, 3765});
    const QRect speak = toPixels(TwipRect{0, 3840, 855, 195});
    const QRect speed = toPixels(TwipRect{1080, 3840, 1095, 315});
    const QRect names = toPixels(TwipRect{0, 4200, 1215, 195});
    const QSize design(toPixels(2175), toPixels(4470));
    const int bottomMargin = design.height() - (names.y() + names.height());
    constexpr int LeastRowGap = 6;  // between a grown control and the next one in its row

    const auto place = [](QWidget &control, const QRect &at, int leftmost, int topmost) {
        const int centred = at.y() + (at.height() - control.height()) / 2;
        control.move(std::max(at.x(), leftmost), std::max(centred, topmost));
    };
    const auto bottomOf = [](const QWidget &control) { return control.y() + control.height(); };

    chkSpeak_->resize(speak.size());
    cmbSpeed_->resize(speed.size());
    chkNames_->resize(names.size());
    growToShowCaption(*chkSpeak_);
    growToShowCaption(*cmbSpeed_);
    growToShowCaption(*chkNames_);
    const int listBottom = list.y() + list.height();
    place(*chkSpeak_, speak, 0, listBottom);
    place(*cmbSpeed_, speed, chkSpeak_->x() + chkSpeak_->width() + LeastRowGap, listBottom);
    place(*chkNames_, names, 0, std::max(bottomOf(*chkSpeak_), bottomOf(*cmbSpeed_)));

    const int right = std::max(cmbSpeed_->x() + cmbSpeed_->width(), chkNames_->x() + chkNames_->width());
    const int bottom = bottomOf(*chkNames_);
    const int width = std::max(design.width(), right);
    const int height = bottom <= design.height() ? design.height() : bottom + bottomMargin;
    lstVoicesView_->setGeometry(list.x(), list.y(), width, list.height());
    setFixedSize(width, height);
}

void frmVoice::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        placeControls();
}

frmVoice::~frmVoice()
{
    try {
        writeSpeechSwitches(services_.settings, switches());
    } catch (const Error &error) {
        qCWarning(lcVoice).noquote() << "the speech switches could not be stored:" << error.message();
    }
}

void frmVoice::Form_Load(const SpeechSwitches &stored)
{
    chkSpeak_->setChecked(stored.speak);
    chkNames_->setChecked(stored.sayNames);
    QStringList speeds;
    for (int speed = SlowestSpeed; speed <= FastestSpeed; ++speed)
        speeds.append(QString::number(speed));
    cmbSpeedList_.AddItems(speeds);
    // Raises the speed event: the engine speaks at 150.
    cmbSpeedList_.setListIndex(NormalSpeedItem);
    services_.comboTool.SetDropHeight(this, cmbSpeed_, DropHeight);
}

void frmVoice::widenFor(int first, int last)
{
    const QFontMetrics metrics(lstVoicesView_->font());
    // The item's text and the room the style leaves around it.
    const int margins =
        2 * (lstVoicesView_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lstVoicesView_) + 1);
    int widest = lstVoices_.horizontalExtent();
    for (int row = first; row <= last; ++row)
        widest = std::max(widest, metrics.horizontalAdvance(lstVoices_.List(row)) + margins);
    if (widest != lstVoices_.horizontalExtent())
        lstVoices_.setHorizontalExtent(widest);
}

SpeechSwitches frmVoice::switches() const { return {chkSpeak_->isChecked(), chkNames_->isChecked()}; }

QString frmVoice::voiceErrorText(const QString &voice)
{
    return QStringLiteral("The voice '") + voice + QStringLiteral("' is invalid");
}

void frmVoice::cmbSpeed_Click()
{
    if (!services_.tts)
        return;  // no engine: nothing to set, and nothing the user could hear
    try {
        services_.tts->setSpeed(cmbSpeedList_.Text().toInt());
    } catch (const Error &error) {
        qCWarning(lcVoice).noquote() << "speed" << cmbSpeedList_.Text() << "refused:" << error.message();
    }
}

void frmVoice::lstVoices_Click()
{
    try {
        if (!services_.tts)
            throw Error(err::CannotCreateObject, QStringLiteral("No speech engine is available"));
        services_.tts->setCurrentMode(lstVoices_.ListIndex() + 1);
    } catch (const Error &error) {
        qCWarning(lcVoice).noquote() << "voice" << lstVoices_.Text() << "refused:" << error.message();
        services_.messages.critical(QStringLiteral("Voice Error"), voiceErrorText(lstVoices_.Text()));
    }
}

void frmVoice::fillVoicesFromEngine()
{
    if (!services_.tts)
        return;
    const int32_t count = services_.tts->CountEngines();
    QStringList names;
    for (int32_t mode = 1; mode <= count; ++mode)
        names.append(services_.tts->ModeName(mode));
    lstVoices_.AddItems(names);
    const int32_t current = services_.tts->CurrentMode();
    if (current >= 1 && current <= count)
        lstVoices_.setListIndex(static_cast<int16_t>(current - 1));
}

}  // namespace jabbly
