#include "app/pages/ToolPage.h"

#include <QLabel>
#include <QVBoxLayout>

#include "app/ItemList.h"

TToolPage::TToolPage(const TPageContext& context, const QString& objectName, const QString& caption,
    const QString& stripText, const QString& stripName)
    : m_context(context), m_caption(caption)
{
    setObjectName(objectName);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    QString shown = stripText.isEmpty() ? caption.toUpper() : stripText;
    shown.replace(QStringLiteral("&&"), QStringLiteral("&"));
    m_titleStrip = new QLabel(shown, this);
    m_titleStrip->setObjectName(stripName.isEmpty() ? QStringLiteral("titleStrip") : stripName);
    m_titleStrip->setFixedHeight(25);
    m_titleStrip->setAlignment(Qt::AlignCenter);
    m_titleStrip->setStyleSheet(QStringLiteral(
        "background-color: rgb(0, 138, 218); color: white; font-weight: bold; font-size: 10pt;"));
    outer->addWidget(m_titleStrip);

    m_body = new QVBoxLayout;
    m_body->setContentsMargins(10, 8, 10, 10);
    m_body->setSpacing(6);
    outer->addLayout(m_body, 1);
}

bool TToolPage::addListItem(const std::string& path)
{
    TItemList* list = itemList();
    return list != nullptr && list->addPath(path);
}

void TToolPage::refreshListCounter()
{
    if (TItemList* list = itemList())
        list->UpdateCounter();
}
