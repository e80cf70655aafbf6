// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmFontSize.h"

#include "ui/Accessibility.h"
#include "ui/FontFamilies.h"
#include "ui/ListViewBinding.h"
#include "ui/MainLayout.h"
#include "ui/TextEditTranscript.h"
#include "ui/WindowPlacement.h"

#include <QLineEdit>
#include <QListView>

namespace jabbly {

namespace {

constexpr int LargestSize = 500;
constexpr int16_t ElevenPointItem = 10;

}  // namespace

frmFontSize::frmFontSize(QWidget *owner, TextEditTranscript &WW, QLineEdit *Name1, QLineEdit *Say1)
    : QWidget(owner, OwnedWindow),
      WW_(WW),
      Name1_(Name1),
      Say1_(Say1),
      lstFontView_(new QListView(this)),
      lstSizeView_(new QListView(this))
{
    setObjectName(QStringLiteral("frmFontSize"));
    setAccessibleRole(*this, QAccessible::Dialog);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Font and Size"));
    lstFontView_->setObjectName(QStringLiteral("lstFont"));
    lstSizeView_->setObjectName(QStringLiteral("lstSize"));
    describeForScreenReaders(*lstFontView_, QStringLiteral("Fonts"), QStringLiteral("The font of the conversation"));
    describeForScreenReaders(*lstSizeView_, QStringLiteral("Sizes"),
                             QStringLiteral("The size of the conversation's text, in points"));
    closeOnEscape(*this);
    setTabOrder(lstFontView_, lstSizeView_);
    bindListView(*lstFontView_, lstFont_);
    bindListView(*lstSizeView_, lstSize_);
    lstFont_.setSelectionHandler([this] { lstFont_Click(); });
    lstSize_.setSelectionHandler([this] { lstSize_Click(); });

    QStringList sizes;
    for (int size = 1; size <= LargestSize; ++size)
        sizes.append(QString::number(size));
    lstSize_.AddItems(sizes);
    lstFont_.AddItems(displayFontChoices());
    lstSize_.setListIndex(ElevenPointItem);

    resize(toPixels(4680), toPixels(3195));
    centreOnScreen(*this);
}

void frmFontSize::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int fontWidth = static_cast<int>(width() / 1.25);
    lstFontView_->setGeometry(0, 0, fontWidth, height());
    lstSizeView_->setGeometry(fontWidth, 0, width() - fontWidth, height());
}

void frmFontSize::lstFont_Click()
{
    const QString family = lstFont_.Text();
    WW_.setTranscriptFamily(family);
    for (QLineEdit *box : {Name1_, Say1_}) {
        QFont font = box->font();
        font.setBold(false);
        font.setItalic(false);
        font.setFamilies({family});
        box->setFont(font);
    }
}

void frmFontSize::lstSize_Click() { WW_.setTranscriptPointSize(lstSize_.Text().toInt()); }

}  // namespace jabbly
