// Drops the keys, clicks and touches meant for any window of the program while
// it lives, so input made during a wait can answer nothing shown after it.
#pragma once

#include <QObject>

class UserInputBlock : public QObject {
public:
    UserInputBlock();
    ~UserInputBlock() override;

    // Drops the input that the window system has sent so far, then lets
    // input through again.
    void release();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
