#include "app/pages/FileShredderPage.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidgetItem>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/Guard.h"
#include "app/ItemList.h"
#include "app/kit/ItemListBlock.h"
#include "app/kit/PageWidgets.h"
#include "app/kit/ToolRun.h"
#include "tools/shredder/Shredder.h"
#include "worker/BackgroundWorker.h"

TFileShredderPage::TFileShredderPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtFS"), QStringLiteral("File Shredder"), QStringLiteral("FILE SHREDDER"), QStringLiteral("Label89"))
{
    titleStrip()->setToolTip(QStringLiteral("Secure delete your Files to make it Unrecoverable"));
    QWidget* listBlock = TItemListBlock::create(this,
        {.list = "FSList", .counter = "totFS", .caption = "Label86", .captionText = "File List :", .addFiles = "BitBtn5", .remove = "BitBtn7", .removeAll = "BitBtn8"},
        {.list = &FSList, .counter = &totFS, .caption = &Label86, .addFiles = &BitBtn5, .remove = &BitBtn7, .removeAll = &BitBtn8});
    body()->addWidget(listBlock, 1);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    btnShred = kit::bigStartButton(this, "btnShred", QStringLiteral("SHRED"), QSize(160, 60), 2);
    // White bold text on the red of the tool's button.
    btnShred->setStyleSheet(QStringLiteral(
        "QPushButton { color: white; font-weight: bold; background-color: rgb(214, 48, 49);"
        " border: 1px solid rgb(160, 30, 30); border-radius: 3px; }"
        "QPushButton:pressed { background-color: rgb(160, 30, 30); }"
        "QPushButton:disabled { background-color: rgb(190, 150, 150); }"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ProgressBar1, 1);
    bottom->addWidget(btnShred);
    body()->addLayout(bottom);

    run = new TToolRun(this, context.worker(QStringLiteral("trdFS")), btnShred,
        {QStringLiteral("SHRED"), QStringLiteral("ABORT"), QString::fromLatin1(korvala::kShredCompletedText),
            QString::fromLatin1(korvala::kShredAbortedText)},
        TCancelPolicy::CancelRestoresCaption);
    run->mayStart = [this] {
        if (FSList->count() == 0)
            return false;
        ProgressBar1->setRange(0, FSList->count());
        ProgressBar1->setValue(0);
        std::vector<std::string> entries = FSList->paths();
        const std::string warning = korvala::shredWarningText(entries);
        if (!dialogs().confirm(this, QString::fromUtf8(warning.data(), static_cast<int>(warning.size())),
                Dialogs::Icon::Warning))
            return false;
        m_entries = std::move(entries);
        setListEnabled(false);
        return true;
    };
    run->work = [this](TBackgroundWorker& worker) {
        korvala::ShredList(m_entries, [&] { return worker.CancellationPending(); },
            [&] { worker.AcceptCancellation(); },
            [this, &worker](size_t position) {
                // Entries go from the end of the list towards its start, so
                // the rows before a removed one keep their positions.
                worker.Post([this, row = static_cast<int>(position)] {
                    delete FSList->takeItem(row);
                    ProgressBar1->setValue(ProgressBar1->value() + 1);
                    FSList->UpdateCounter();
                });
            });
    };
    run->afterMessage = [this](bool) {
        ProgressBar1->setValue(0);
        FSList->UpdateCounter();
        setListEnabled(true);
    };
}

void TFileShredderPage::setListEnabled(bool enabled)
{
    for (QWidget* w : {static_cast<QWidget*>(FSList), static_cast<QWidget*>(BitBtn5), static_cast<QWidget*>(BitBtn7),
             static_cast<QWidget*>(BitBtn8)})
        w->setEnabled(enabled);
}
