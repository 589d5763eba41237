#include "app/kit/ToolRun.h"

#include <QPushButton>
#include <QWidget>

#include "app/Dialogs.h"
#include "app/Guard.h"
#include "worker/BackgroundWorker.h"

TToolRun::TToolRun(QWidget* page, TBackgroundWorker& worker, QPushButton* button, TToolRunTexts texts,
    TCancelPolicy policy)
    : QObject(page), m_page(page), m_worker(worker), m_button(button), m_texts(std::move(texts)), m_policy(policy)
{
    m_button->setText(m_texts.start);
    connect(m_button, &QPushButton::clicked, this, [this] { runGuarded(m_page, [this] { click(); }); });
    m_worker.OnWork = [this](TBackgroundWorker& w) {
        if (work)
            work(w);
    };
    m_worker.OnWorkComplete = [this](TBackgroundWorker& w, bool) { complete(w); };
}

void TToolRun::click()
{
    if (beforeClick)
        beforeClick();
    // While a run lasts the button stops it, whatever the page's inputs hold
    // now: emptying a list during a run must not take away the way to stop it.
    if (m_worker.IsWorking()) {
        if (m_policy == TCancelPolicy::NoCancel)
            return;
        m_worker.Cancel();
        if (m_policy == TCancelPolicy::CancelRestoresCaption)
            m_button->setText(m_texts.start);
        return;
    }
    if (mayStart && !mayStart())
        return;
    m_worker.Start();
    m_button->setText(m_texts.abort);
}

void TToolRun::complete(TBackgroundWorker& worker)
{
    const bool cancelled = worker.Cancelled();
    m_button->setText(m_texts.start);
    if (beforeMessage)
        beforeMessage(cancelled);
    QString text = endMessage ? endMessage(cancelled) : QString();
    if (text.isEmpty())
        text = cancelled && !m_texts.aborted.isEmpty() ? m_texts.aborted : m_texts.completed;
    dialogs().message(m_page, text);
    if (afterMessage)
        afterMessage(cancelled);
}
