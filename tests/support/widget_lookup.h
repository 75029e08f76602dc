#pragma once

#include <QAbstractButton>
#include <QTest>

#include <gtest/gtest.h>

namespace kx::test {

// The child of root named name (its system name); a test failure when there is none.
template <typename T>
T* named(const QObject* root, const QString& name) {
    T* w = root->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}

// A left click on the named button.
inline void clickNamed(const QObject* root, const QString& name) {
    QTest::mouseClick(named<QAbstractButton>(root, name), Qt::LeftButton);
}

}  // namespace kx::test
