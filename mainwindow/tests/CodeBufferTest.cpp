#include "mainwindow/CodeBuffer.h"

#include <gtest/gtest.h>

namespace trv {
namespace {

TEST(CodeBufferTest, FindsLineEndsAcrossAppendsAndFrontRemovals) {
    CodeBuffer buffer;
    buffer.append(u"123");
    EXPECT_EQ(buffer.findLineEnd(), -1);
    buffer.append(u"45\r");
    EXPECT_EQ(buffer.findLineEnd(), -1);
    // The LF that completes a CR at the end of the previous chunk.
    buffer.append(u"\n67\r\n");
    EXPECT_EQ(buffer.findLineEnd(), 5);
    buffer.removeFront(7);
    EXPECT_EQ(buffer.text(), u"67\r\n");
    EXPECT_EQ(buffer.findLineEnd(), 2);
    buffer.removeFront(100);
    EXPECT_TRUE(buffer.isEmpty());
    EXPECT_EQ(buffer.findLineEnd(), -1);
}

TEST(CodeBufferTest, ReplacingTheTextStartsTheSearchAgain) {
    CodeBuffer buffer;
    buffer.append(QString(5000, u'1'));
    EXPECT_EQ(buffer.findLineEnd(), -1);
    buffer.setText(QStringLiteral("9\r\n"));
    EXPECT_EQ(buffer.findLineEnd(), 1);
}

TEST(CodeBufferTest, TakingManyLinesFromTheFrontKeepsTheRestIntact) {
    CodeBuffer buffer;
    QString all;
    for (int i = 0; i < 20000; ++i)
        all += QString::number(100000 + i) + QStringLiteral("\r\n");
    buffer.append(all);
    for (int i = 0; i < 20000; ++i) {
        const qsizetype end = buffer.findLineEnd();
        ASSERT_EQ(end, 6);
        ASSERT_EQ(buffer.text().first(end), QString::number(100000 + i));
        buffer.removeFront(end + 2);
    }
    EXPECT_TRUE(buffer.isEmpty());
}

} // namespace
} // namespace trv
