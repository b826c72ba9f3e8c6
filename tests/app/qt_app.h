#pragma once
// The one QApplication of the Qt tests, made on first use (offscreen
// platform) and kept to the end of the process.

#include <QApplication>

#include <gtest/gtest.h>

inline QApplication& qt_app()
{
    static int argc = 1;
    static char name[] = "tests_app";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

class CQtTest : public ::testing::Test {
protected:
    void SetUp() override { qt_app(); }
};
