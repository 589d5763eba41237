#pragma once
// TToolRun binds one worker to the start button of a tool and owns what every
// such tool does the same way: the click that starts the run or asks it to
// stop, the button's captions, and the one message that ends the run. The
// page supplies only what differs: when a run may start (and the snapshot of
// its inputs), the work procedure, and steps around the end message.

#include <functional>

#include <QObject>
#include <QString>

class QPushButton;
class QWidget;
class TBackgroundWorker;

struct TToolRunTexts {
    QString start;      // the button while idle
    QString abort;      // the button while a run lasts
    QString completed;  // the end message of a run that finished
    QString aborted;    // the end message of a cancelled run; empty: completed
};

// What a click does while a run lasts.
enum class TCancelPolicy {
    // Asks the run to stop and shows the start caption at once.
    CancelRestoresCaption,
    // Asks the run to stop; the caption stays until the run has ended.
    CancelKeepsCaption,
    // Nothing: the run cannot be cancelled.
    NoCancel,
};

class TToolRun : public QObject {
    Q_OBJECT

public:
    // The run connects button's click itself and takes over worker's work and
    // completion events.
    TToolRun(QWidget* page, TBackgroundWorker& worker, QPushButton* button, TToolRunTexts texts,
        TCancelPolicy policy);

    // Window thread, first thing on every click (e.g. clearing a verdict).
    std::function<void()> beforeClick;
    // Window thread, on a click while idle: true lets the run start. Takes the
    // snapshot of the inputs; may tell the user why not. Unset: always.
    std::function<bool()> mayStart;
    // Work thread: the work procedure.
    std::function<void(TBackgroundWorker& worker)> work;
    // Window thread, once the run has ended: before and after the end message.
    std::function<void(bool cancelled)> beforeMessage;
    std::function<void(bool cancelled)> afterMessage;
    // Window thread, once the run has ended: a text shown in place of the
    // completed or aborted one (a run that failed says so instead of
    // claiming it completed). Unset, or an empty text: the usual message.
    std::function<QString(bool cancelled)> endMessage;

    // The button's click: starts a run, or applies the cancel policy.
    void click();

    TBackgroundWorker& worker() const { return m_worker; }
    QPushButton* button() const { return m_button; }

private:
    void complete(TBackgroundWorker& worker);

    QWidget* m_page;
    TBackgroundWorker& m_worker;
    QPushButton* m_button;
    TToolRunTexts m_texts;
    TCancelPolicy m_policy;
};
