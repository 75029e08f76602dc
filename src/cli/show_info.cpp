#include "cli/show_info.h"

#include <QJsonArray>
#include <algorithm>

#include "cli/show_terms.h"
#include "materials/material_bank_file.h"
#include "storage/record_io.h"

namespace kx {

namespace {

QJsonArray sectionsOf(const QByteArray& bytes) {
    RecordBuffer buf = RecordBuffer::fromBytes(bytes.left(kShowFileCapacity));
    struct Found {
        int number;
        int start;  // the frame mark before the tag
    };
    std::vector<Found> found;
    for (const SectionTag& s : showSectionTags()) {
        int cursor = 0;
        if (Fun_FindSection(s.number, s.tag, cursor, buf)) found.push_back({s.number, cursor - 8});
    }
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return a.start < b.start; });
    QJsonArray out;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const int end = i + 1 < found.size() ? found[i + 1].start : buf.capacity();
        out.append(QJsonObject{{"section", found[i].number},
                               {"name", sectionTerm(found[i].number)},
                               {"position", found[i].start},
                               {"bytes", end - found[i].start}});
    }
    return out;
}

QJsonArray fixturesOf(const FixtureLibrary& lib) {
    QJsonArray out;
    for (int page = 0; page < kLibraryPageSlots; ++page) {
        for (int port = 0; port < kPortCount; ++port) {
            for (int n = 1; n <= kFixturesPerPage; ++n) {
                const Fixture& f = lib.at(page, n);
                if (!isPatched(f) || f.port != port) continue;
                out.append(QJsonObject{{"page", page},
                                       {"number", n},
                                       {"name", f.name},
                                       {"port", portTerm(f.port)},
                                       {"address", f.startAddress},
                                       {"channels", f.channelCount}});
            }
        }
    }
    return out;
}

QJsonArray effectsOf(const LoadedShow& loaded) {
    QJsonArray out;
    for (int e = 1; e <= kEffectCount; ++e) {
        const Effect& fx = loaded.show.effects.at(e);
        auto bank = std::make_unique<MaterialBank>();
        readEffectBank(loaded, e, *bank);
        int materials = 0;
        int steps = 0;
        for (int m = 1; m <= kMaterialsPerBank; ++m) {
            if (!materialExists(bank->byNumber(m))) continue;
            ++materials;
            steps += bank->byNumber(m).stepCount();
        }
        if (!effectHasContent(fx) && materials == 0 && fx.remark.isEmpty()) continue;
        QJsonArray parts;
        for (int p = 0; p < kParts; ++p) {
            parts.append(QJsonObject{{"part", partName(p)},
                                     {"bars", fx.parts[static_cast<std::size_t>(p)].barCount},
                                     {"beats", fx.parts[static_cast<std::size_t>(p)].beatsPerBar}});
        }
        QJsonObject o{{"effect", e},
                      {"name", fx.remark},
                      {"parts", parts},
                      {"materials", materials},
                      {"steps", steps}};
        out.append(o);
    }
    return out;
}

QJsonArray scenesOf(const Show& show) {
    QJsonArray out;
    const SceneTable pristine;
    for (int n = 1; n <= kSceneCount; ++n) {
        const Scene& s = show.scenes.at(n);
        if (s.effectNumber == 0 && s.name == pristine.at(n).name &&
            !sceneHasContent(show.scenes, n))
            continue;
        QJsonObject o{{"scene", n}, {"name", s.name}, {"effect", s.effectNumber}};
        if (isEffectNumber(s.effectNumber))
            o.insert("effectName", show.effects.at(s.effectNumber).remark);
        out.append(o);
    }
    return out;
}

QJsonObject roomControlOf(const RoomControl& rc) {
    const RoomControl defaults;
    QJsonObject out;
    for (const RoomControlFieldName& f : roomControlFieldNames()) {
        if (rc.*f.field != defaults.*f.field) out.insert(f.name, rc.*f.field);
    }
    for (int k = 1; k <= kEffectorKeys; ++k) {
        const EffectorCode& code = rc.effectorCodes[static_cast<std::size_t>(k - 1)];
        if (code == EffectorCode{}) continue;
        out.insert(QStringLiteral("effectorCode%1").arg(k),
                   QString::fromLatin1(
                       QByteArray(reinterpret_cast<const char*>(code.data()), kEffectorCodeSize)
                           .toHex(' ')
                           .toUpper()));
    }
    return out;
}

}  // namespace

QJsonObject showInfo(const LoadedShow& loaded, const QByteArray& bytes) {
    return QJsonObject{{"bytes", bytes.size()},
                       {"sections", sectionsOf(bytes)},
                       {"fixtures", fixturesOf(loaded.show.library)},
                       {"effects", effectsOf(loaded)},
                       {"scenes", scenesOf(loaded.show)},
                       {"roomControl", roomControlOf(loaded.show.room)},
                       {"saveStamp", readSaveStamp(bytes)}};
}

QString showInfoText(const QJsonObject& info) {
    QStringList lines;
    lines << QStringLiteral("Show File, %1 bytes").arg(info["bytes"].toInt());
    lines << QStringLiteral("Saved: %1").arg(info["saveStamp"].toString());
    lines << QStringLiteral("Sections:");
    for (const QJsonValue v : info["sections"].toArray()) {
        const QJsonObject s = v.toObject();
        lines << QStringLiteral("  %1 %2: %3 bytes at %4")
                     .arg(s["section"].toInt(), 2)
                     .arg(s["name"].toString())
                     .arg(s["bytes"].toInt())
                     .arg(s["position"].toInt());
    }
    lines << QStringLiteral("Fixtures (page, port):");
    QString group;
    for (const QJsonValue v : info["fixtures"].toArray()) {
        const QJsonObject f = v.toObject();
        const QString g =
            QStringLiteral("  page %1 port %2:").arg(f["page"].toInt()).arg(f["port"].toString());
        if (g != group) lines << (group = g);
        lines << QStringLiteral("    %1 %2  address %3, %4 channels")
                     .arg(f["number"].toInt(), 3)
                     .arg(f["name"].toString())
                     .arg(f["address"].toInt())
                     .arg(f["channels"].toInt());
    }
    lines << QStringLiteral("Effects:");
    for (const QJsonValue v : info["effects"].toArray()) {
        const QJsonObject e = v.toObject();
        QStringList parts;
        for (const QJsonValue p : e["parts"].toArray()) {
            const QJsonObject o = p.toObject();
            parts << QStringLiteral("%1 %2 Bars x %3 Beats")
                         .arg(o["part"].toString())
                         .arg(o["bars"].toInt())
                         .arg(o["beats"].toInt());
        }
        lines << QStringLiteral("  Effect %1 \"%2\": %3; %4 Materials, %5 Steps")
                     .arg(e["effect"].toInt())
                     .arg(e["name"].toString(), parts.join(", "))
                     .arg(e["materials"].toInt())
                     .arg(e["steps"].toInt());
    }
    lines << QStringLiteral("Scenes:");
    for (const QJsonValue v : info["scenes"].toArray()) {
        const QJsonObject s = v.toObject();
        QString line =
            QStringLiteral("  Scene %1 \"%2\"").arg(s["scene"].toInt()).arg(s["name"].toString());
        if (s["effect"].toInt() > 0)
            line += QStringLiteral(": Effect %1 \"%2\"")
                        .arg(s["effect"].toInt())
                        .arg(s["effectName"].toString());
        lines << line;
    }
    lines << QStringLiteral("Room Control (differing from the defaults):");
    const QJsonObject rc = info["roomControl"].toObject();
    for (auto it = rc.begin(); it != rc.end(); ++it) {
        lines << QStringLiteral("  %1 = %2")
                     .arg(it.key(), it.value().isString() ? it.value().toString()
                                                          : QString::number(it.value().toInt()));
    }
    return lines.join('\n') + '\n';
}

}  // namespace kx
