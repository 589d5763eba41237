#pragma once
// A shown main window per test, with the donation window switched off
// through the per-user setting, and the recorders emptied.

#include <memory>

#include <gtest/gtest.h>

#include <QTest>
#include <QToolButton>

#include "GuiEnvironment.h"
#include "app/Korvala_Main.h"
#include "app/UserSettings.h"

class GuiFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        testDialogs().reset();
        testShell().calls.clear();
        ASSERT_TRUE(WriteUserString(QStringLiteral("Software\\Meridane\\Support"), QStringLiteral("53"),
            QStringLiteral("0")));
        window = std::make_unique<TfrmKorvala>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override
    {
        if (window)
            window->close();
        window.reset();
    }

    template <typename T = QWidget>
    T* find(const char* name) const
    {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << "no control named " << name;
        return widget;
    }

    void click(QWidget* widget) const { QTest::mouseClick(widget, Qt::LeftButton); }

    std::unique_ptr<TfrmKorvala> window;
};
