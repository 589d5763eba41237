#include "app/kit/PageContext.h"

#include "app/Dialogs.h"
#include "worker/BackgroundWorker.h"

TPageContext::TPageContext(int tag, std::vector<TBackgroundWorker*> workers, MenuService menus)
    : m_tag(tag), m_workers(std::move(workers)), m_menus(std::move(menus))
{
}

TBackgroundWorker& TPageContext::worker(const QString& name) const
{
    for (TBackgroundWorker* worker : m_workers)
        if (worker->objectName() == name)
            return *worker;
    throw korvala::KorvalaError("The tool " + std::to_string(m_tag) + " has no worker named '" + name.toStdString() + "'");
}

Dialogs& TPageContext::dialogs() const
{
    return ::dialogs();
}

void TPageContext::showMenu(QMenu& menu, const QPoint& globalPos) const
{
    if (m_menus)
        m_menus(menu, globalPos);
}
