#pragma once

#include "error/Error.h"

#include <gtest/gtest.h>

// Runs a statement that must raise bryx::Error with the given number; answers its description
// so the caller can check that the message says what was asked and why it failed.
#define EXPECT_BRYX_ERROR(statement, expectedNumber)                                                         \
    [&]() -> QString {                                                                                       \
        try {                                                                                                \
            statement;                                                                                       \
        } catch (const bryx::Error& error) {                                                                 \
            EXPECT_EQ(error.Number(), expectedNumber) << error.Description().toStdString();                  \
            return error.Description();                                                                      \
        }                                                                                                    \
        ADD_FAILURE() << "expected error " << expectedNumber << " from: " #statement;                        \
        return QString();                                                                                    \
    }()
