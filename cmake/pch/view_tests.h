// Precompiled for the view test suites: the view set, GoogleTest and QtTest.
#pragma once

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "views.h"
