// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmVoice.h"

#include "Accessibility.h"
#include "ComboBoxBinding.h"
#include "ComboTool.h"
#include "ListViewBinding.h"
#include "MainLayout.h"
#include "UserMessages.h"
#include "WindowPlacement.h"
#include "jabbly/error.h"
#include "jabbly/speechengine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListView>
#include <QLoggingCategory>

#include <algorithm>

Q_LOGGING_CATEGORY(lcVoice, "jabbly.voice", QtInfoMsg)

namespace jabbly {

namespace {

constexpr int SlowestSpeed = 50;
constexpr int FastestSpeed = 250;
constexpr int16_t NormalSpeedItem = 100;  // 150
constexpr int16_t DropHeight = 500;

QRect fromTwips(int left, int top, int width, int height)
{
    return {left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel};
}

}  // namespace

frmVoice::frmVoice(QWidget *owner, Services services)
    : QWidget(owner, Qt::Window),
      services_(services),
      lstVoicesView_(new QListView(this)),
      chkSpeak_(new QCheckBox(QStringLiteral("&Speak"), this)),
      cmbSpeed_(new QComboBox(this)),
      chkNames_(new QCheckBox(QStringLiteral("Say &names"), this))
{
    setObjectName(QStringLiteral("frmVoice"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Speech Options"));
    setFixedSize(2175 / TwipsPerPixel, 4470 / TwipsPerPixel);

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
    closeOnEscape(*this);
    lstVoicesView_->setGeometry(fromTwips(0, 0, 2175, 3765));
    chkSpeak_->setGeometry(fromTwips(0, 3840, 855, 195));
    cmbSpeed_->setGeometry(fromTwips(1080, 3840, 1095, 315));
    chkNames_->setGeometry(fromTwips(0, 4200, 1215, 195));
    // The design widths were made for another system font: a caption that needs more room
    // gets it, as far as the window reaches.
    for (QCheckBox *box : {chkSpeak_, chkNames_}) {
        const int needed = std::min(box->sizeHint().width(), width() - box->x());
        if (needed > box->width())
            box->resize(needed, std::max(box->height(), box->sizeHint().height()));
    }
    setTabOrder(lstVoicesView_, chkSpeak_);
    setTabOrder(chkSpeak_, cmbSpeed_);
    setTabOrder(cmbSpeed_, chkNames_);

    bindListView(*lstVoicesView_, lstVoices_);
    bindComboBox(*cmbSpeed_, cmbSpeedList_);
    lstVoices_.setSelectionHandler([this] { lstVoices_Click(); });
    cmbSpeedList_.setSelectionHandler([this] { cmbSpeed_Click(); });

    Form_Load(readSpeechSwitches(services_.settings));
    centreOnScreen(*this);
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
