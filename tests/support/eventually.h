// Waiting for a condition while the event loop runs, in a GoogleTest program. Qt's QTRY_ macros
// report a timeout to QtTest only: here they would return from the test without failing it.
#pragma once

#include <QTest>
#include <gtest/gtest.h>

// Fails the test when `condition` does not hold within `ms` milliseconds of running events.
#define EXPECT_EVENTUALLY(condition, ms) EXPECT_TRUE(QTest::qWaitFor([&] { return bool(condition); }, ms)) << #condition
#define ASSERT_EVENTUALLY(condition, ms) ASSERT_TRUE(QTest::qWaitFor([&] { return bool(condition); }, ms)) << #condition
