#include "app/pages/HashPage.h"

#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/pages/HashComparePage.h"
#include "app/pages/HashGeneratorPage.h"
#include "app/pages/HashVerifyPage.h"

THashPage::THashPage(const TPageContext& context)
    : TToolPage(context, QStringLiteral("shtHash"), QStringLiteral("Hash"), QStringLiteral("HASH"), QStringLiteral("Label83"))
{
    PageControl5 = new QTabWidget(this);
    PageControl5->setObjectName(QStringLiteral("PageControl5"));
    PageControl5->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 100px; min-height: 20px; }"));
    generator = new THashGeneratorPage(context, PageControl5);
    verifier = new THashVerifyPage(context, PageControl5);
    comparer = new THashComparePage(context, PageControl5);
    PageControl5->addTab(generator, QStringLiteral("Hash Generator"));
    PageControl5->addTab(verifier, QStringLiteral("Verify Checksum"));
    PageControl5->addTab(comparer, QStringLiteral("Compare Files"));
    PageControl5->setCurrentWidget(generator);
    body()->addWidget(PageControl5, 1);
}

TItemList* THashPage::itemList() const
{
    return generator->HList;
}

void THashPage::formCreate()
{
    generator->formCreate();
    verifier->formCreate();
}

THashPage::TSubPage THashPage::activeSubPage() const
{
    if (PageControl5->currentWidget() == verifier)
        return TSubPage::Verifier;
    if (PageControl5->currentWidget() == comparer)
        return TSubPage::Comparer;
    return TSubPage::Generator;
}

void THashPage::setChecksumFile(const QString& path)
{
    verifier->vcLoc->setText(path);
}
