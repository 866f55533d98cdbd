// Drops the keys, clicks and touches meant for any window of the program while
// it lives, so input made during a wait can answer nothing shown after it. A
// request to close a window is the user saying "stop": it is held until the
// wait is over, and the wait is told of it.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class UserInputBlock : public QObject
{
public:
    // `onCloseRequest` runs when a window is asked to close during the wait.
    explicit UserInputBlock(std::function<void()> onCloseRequest = {});
    ~UserInputBlock() override;

    // Drops the input that the window system has sent so far, then lets
    // input through again.
    void release();
    bool closeRequested() const { return m_closeRequested; }
    // Lets input through again and closes the window that was asked to close.
    void passOnClose();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> m_onCloseRequest;
    bool m_closeRequested = false;
    QPointer<QObject> m_closing;
};
