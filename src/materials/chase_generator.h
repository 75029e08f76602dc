#pragma once

#include <QString>
#include <QStringList>

#include "materials/material.h"

namespace kx {

// The chase generator (跑马): replaces the Steps of a Material with a block of consecutive Virtual
// Fixtures that moves on by one per Step until it has gone once through all of them. Every channel
// of a lit Virtual Fixture takes the on value, every channel of the others the off value.
inline const QString kChaseTypeNone = QStringLiteral("00-无");
inline const QString kChaseTypeHeadToTail = QStringLiteral("01-头尾衔接");
inline const QString kMsgNoChaseType = QStringLiteral("未选择任何跑马类型");
inline constexpr int kChaseDefaultOn = 255;
inline constexpr int kChaseDefaultOff = 0;

// The window's fields as typed or chosen; read when "生成数据" is pressed.
struct ChaseFields {
    QString type = kChaseTypeNone;  // Combo跑马类型
    QString litCount = "1";         // Combo跑马灯具数量
    QString startPosition = "1";    // Combo起始位置
    QString onValue = "255";        // Combo亮灯数据
    QString offValue = "0";         // Combo灭灯数据
    bool reverse = false;           // Check开启反向
};

struct ChaseResult {
    bool generated = false;  // the Steps were replaced
    QString information;     // Text信息: the listing "步001：01 06 " a line, or the message
};

// "生成数据". Only "01-头尾衔接" generates; any other type leaves the Material untouched and says
// "未选择任何跑马类型". An on or off value that is not a whole number 0-255 is taken as 255 and 0;
// a lit count or start position that is no number as 1. A start position outside 1..fixtureCount
// is taken as 1 too, since the block would never come back to it. The result has one Step per
// Virtual Fixture (one for a Material without any), with times 0 and flags cleared; the
// Material's other fields are unchanged.
ChaseResult generateChase(Material& m, const ChaseFields& fields);

// The chase types offered, "00-无" first.
QStringList chaseTypeEntries();
// The lit-count and start-position lists: "1" .. fixtureCount, refilled each time the window is
// prepared.
QStringList chasePositionEntries(int fixtureCount);
// The on and off value lists: "0" .. "255".
QStringList chaseValueEntries();

}  // namespace kx
