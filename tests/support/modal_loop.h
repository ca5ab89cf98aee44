#pragma once
// Runs a test's steps inside a dialog's own modal loop, the way the program runs its main
// window, so that window blocking applies to everything the steps do.
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace testsupport {

inline void RunModally(QDialog& dialog, const std::function<void()>& steps) {
    bool ran = false;
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_EQ(QApplication::activeModalWidget(), &dialog);
        steps();
        ran = true;
        dialog.done(0);
    });
    dialog.exec();
    EXPECT_TRUE(ran);
}

} // namespace testsupport
