// GUI tests run under one QApplication (offscreen, as CTest sets it), with the faces the
// program uses.
#include <gtest/gtest.h>

#include <QApplication>

#include "gui/widgets/chinese_faces.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tf::gui::useSimplifiedChineseFaces();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
