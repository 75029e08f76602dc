// Precompiled for the core test suites: the core set and GoogleTest.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core.h"
