#include "support/fake_platform.h"

#include <QDir>

namespace kx::test {

FakePlatform::FakePlatform() : time(QDate(2026, 3, 7), QTime(9, 5, 4)) {
    QDir d(dir.path());
    d.mkpath("AppSet/Sys_config/SC_TEMP");
    d.mkpath("AppSet/Sys_config/Pic");
    d.mkpath("AppSet/Sys_config/PicAll");
    d.mkpath("AppSet/常用灯具");
}

void FakePlatform::processEvents(int /*maxWaitMs*/) {
    clock += eventStepMs;
    if (onEvents) onEvents();
}

bool FakePlatform::askYesNo(const QString& text) {
    questions << text;
    if (yesNoAnswers.empty()) return false;
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

QString FakePlatform::fileDialog(const FileDialog& dialog) {
    dialogs.push_back(dialog);
    if (dialogAnswers.empty()) return {};
    QString answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
}

std::uint16_t FakePlatform::asyncKeyState(int virtualKey) {
    auto it = keys.find(virtualKey);
    if (it == keys.end()) return 0;
    const std::uint16_t state = it->second;
    it->second &= 0x8000;  // the "pressed since" bit is reported once
    return state;
}

}  // namespace kx::test
