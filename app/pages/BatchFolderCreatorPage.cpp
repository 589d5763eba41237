#include "app/pages/BatchFolderCreatorPage.h"

#include <string>
#include <vector>

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/Guard.h"
#include "app/kit/PageWidgets.h"
#include "tools/mkdirs/FolderLines.h"

TBatchFolderCreatorPage::TBatchFolderCreatorPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtBFC"), QStringLiteral("Batch Folder Creator"))
{
    Label96 = kit::boldLabel(this, "Label96", QStringLiteral("Folder to Create :"));
    Label96->setToolTip(QStringLiteral("Example : \"~/My Folder/Folder 1/Folder 2/Folder 3\""));
    lstBFC = new QPlainTextEdit(this);
    lstBFC->setObjectName(QStringLiteral("lstBFC"));
    lstBFC->setLineWrapMode(QPlainTextEdit::NoWrap);
    sBitBtn1 = kit::bigStartButton(this, "sBitBtn1", QStringLiteral("CREATE"));
    body()->addWidget(Label96);
    body()->addWidget(lstBFC, 1);
    body()->addWidget(sBitBtn1, 0, Qt::AlignHCenter);
    onClicked(sBitBtn1, this, &TBatchFolderCreatorPage::sBitBtn1Click);
}

void TBatchFolderCreatorPage::sBitBtn1Click()
{
    const QString text = lstBFC->toPlainText();
    if (text.isEmpty())
        return;
    std::vector<std::string> lines;
    for (const QString& line : text.split(QLatin1Char('\n')))
        lines.push_back(QFile::encodeName(line).toStdString());
    korvala::TFolderLinesResult result;
    try {
        result = korvala::CreateFolderLines(lines);
    } catch (...) {
        // The completion message comes also after an error stopped the lines.
        context().dialogs().message(this, QStringLiteral("Folder creating Process Completed!"),
            Dialogs::Icon::Information);
        throw;
    }
    QStringList kept;
    for (const std::string& line : result.lines)
        kept << QFile::decodeName(QByteArray::fromStdString(line));
    lstBFC->setPlainText(kept.join(QLatin1Char('\n')));
    context().dialogs().message(this, QStringLiteral("Folder creating Process Completed!"), Dialogs::Icon::Information);
    if (!result.failures.empty())
        context().dialogs().message(this, QFile::decodeName(QByteArray::fromStdString(korvala::folderFailuresText(result.failures))),
            Dialogs::Icon::Warning);
}
