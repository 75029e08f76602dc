#include "ofl_library.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include "base/file_io.h"
#include "base/settings.h"
#include "fixtures/definition_convert.h"
#include "fixtures/ofl_definition.h"

namespace kx::ofl {

namespace {

const QString kNamesFile = QStringLiteral("通道描述自定义.txt");

bool writeNames(const ChannelFunctionNames& names, const QString& path) {
    const ChannelFunctionNames defaults = defaultChannelFunctionNames();
    QString text;
    for (int code = kFirstCustomFunction; code < kChannelFunctionCount; ++code) {
        if (names[code] != defaults[code])
            text += QStringLiteral("T%1=%2\r\n").arg(code).arg(names[code]);
    }
    return Fun_WriteText(path, text);
}

}  // namespace

BundleReport writeOflLibrary(const QString& dataDir, const QString& appSetDir) {
    BundleReport report;
    const QString fixturesDir = dataDir + "/fixtures";
    const QString makersFile = fixturesDir + "/manufacturers.json";
    const auto makersJson = readWholeFile(makersFile);
    const QJsonObject makers =
        makersJson ? QJsonDocument::fromJson(*makersJson).object() : QJsonObject();
    if (makers.isEmpty()) {
        report.failures << makersFile + ": missing or not JSON";
        return report;
    }
    const QString root = appSetDir + "/常用灯具";
    ChannelFunctionNames names = defaultChannelFunctionNames();
    for (const QString& key :
         QDir(fixturesDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString makerName = makers.value(key).toObject().value("name").toString();
        if (makerName.isEmpty()) {
            report.failures << fixturesDir + "/" + key + ": manufacturer not in manufacturers.json";
            continue;
        }
        QSet<QString> stems;  // one folder's file names, compared as Windows compares them
        bool wroteAny = false;
        const QStringList files =
            QDir(fixturesDir + "/" + key).entryList({"*.json"}, QDir::Files, QDir::Name);
        for (const QString& file : files) {
            const QString path = fixturesDir + "/" + key + "/" + file;
            const auto bytes = readWholeFile(path);
            if (!bytes) {
                report.failures << path + ": not readable";
                continue;
            }
            if (isOflRedirect(*bytes)) continue;  // another file holds that fixture
            const DefinitionRead read = readOflDefinition(*bytes, makerName);
            if (!read.definition) {
                report.failures << path + ": " + read.error;
                continue;
            }
            const Conversion conversion = convertDefinition(*read.definition, names);
            for (const SkippedMode& s : conversion.skipped) {
                const bool tooLarge = s.reason.contains(QStringLiteral("超过32通道"));
                (tooLarge ? report.skipped : report.failures)
                    << path + ": " + s.mode + ": " + s.reason;
            }
            for (const ConvertedMode& m : conversion.modes) {
                const QString folded = m.fileStem.toCaseFolded();
                if (stems.contains(folded))
                    report.failures
                        << path + ": " + m.mode + ": file name " + m.fileStem + " taken";
                stems.insert(folded);
            }
            const QStringList failed = writeConversion(conversion, root, WriteMode::Plain);
            report.failures << failed;
            report.modes +=
                static_cast<int>(conversion.modes.size()) - static_cast<int>(failed.size());
            if (!conversion.modes.empty()) {
                ++report.fixtures;
                wroteAny = true;
            }
        }
        if (wroteAny) ++report.manufacturers;
    }
    if (!writeNames(names, appSetDir + "/" + kNamesFile))
        report.failures << appSetDir + "/" + kNamesFile + ": not written";
    return report;
}

QStringList mergeCustomNames(const QString& from, const QString& into) {
    const ChannelFunctionNames defaults = defaultChannelFunctionNames();
    const ChannelFunctionNames offered = loadChannelFunctionNames(from);
    ChannelFunctionNames kept = loadChannelFunctionNames(into);
    QStringList conflicts;
    for (int code = kFirstCustomFunction; code < kChannelFunctionCount; ++code) {
        if (offered[code] == defaults[code] || kept[code] == offered[code]) continue;
        if (kept[code] != defaults[code]) {
            conflicts
                << QStringLiteral("T%1: %2 kept as %3").arg(code).arg(offered[code], kept[code]);
            continue;
        }
        kept[code] = offered[code];
        if (!saveCustomFunctionName(kept, code, into))
            conflicts << QStringLiteral("T%1: not written to %2").arg(code).arg(into);
    }
    return conflicts;
}

}  // namespace kx::ofl
