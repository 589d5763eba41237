#pragma once
// Window handlers run guarded: an exception that escapes one is shown in an
// error box with its message, the rest of that handler is skipped and the
// program goes on.

#include <exception>
#include <utility>

#include <QAbstractButton>
#include <QObject>
#include <QWidget>

// Shows the exception in flight (call from a catch block) in an error box.
void showHandlerException(QWidget* parent, std::exception_ptr error);

template <typename F>
void runGuarded(QWidget* parent, F&& handler)
{
    try {
        std::forward<F>(handler)();
    } catch (...) {
        showHandlerException(parent, std::current_exception());
    }
}

// Connects a button's click to a handler method of owner, guarded.
template <typename Owner>
void onClicked(QAbstractButton* button, Owner* owner, void (Owner::*handler)())
{
    QObject::connect(button, &QAbstractButton::clicked, owner,
        [owner, handler] {
            runGuarded(dynamic_cast<QWidget*>(static_cast<QObject*>(owner)), [&] { (owner->*handler)(); });
        });
}
