#include "effects/effect_record.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <future>
#include <limits>
#include <memory>
#include <mutex>
#include <span>
#include <type_traits>
#include <vector>

#include "storage/record_io.h"

namespace kx {

namespace {

constexpr int kMaxRelativePosition = 0xFFFF;

// Fixed bytes closing section 12; nothing reads them back.
constexpr std::array<std::uint8_t, kEffectsTrailerSize> kTrailer{'K', 'X', '-', '7', '4', '2', '0',
                                                                 ' ', 'E', 'F', 'F', 'E', 'C', 'T',
                                                                 ' ', 'T', 'A', 'B', 'L', 'E'};

// The set's bits as 64-bit words, lowest Material first. The standard libraries keep a bitset as
// an array of machine words with bit n in word n / w, so on a little-endian machine its bytes
// are these words (the Beat list tests check the order on every word boundary).
using SetWords = std::array<std::uint64_t, (kMaterialsPerBank + 63) / 64>;
static_assert(std::endian::native == std::endian::little);
static_assert(sizeof(MaterialSet) == sizeof(SetWords) && std::is_trivially_copyable_v<MaterialSet>);

// A Beat list is the count, then the Material Numbers in ascending order, taken from the set's
// words directly: the largest show holds tens of thousands of lists. Where the longest list fits
// the numbers go straight in and are counted after; only near the buffer's end is the list
// range-checked by its count first.
void writeList(const MaterialSet& set, int& cursor, RecordBuffer& buf) {
    const auto words = std::bit_cast<SetWords>(set);
    if (cursor < 0 || std::int64_t{cursor} + 1 + kMaterialsPerBank > buf.capacity()) {
        int count = 0;
        for (const std::uint64_t w : words)
            count += std::popcount(w);
        if (!buf.require(cursor, 1 + std::int64_t{count})) {
            cursor = static_cast<int>(std::min<std::int64_t>(std::int64_t{cursor} + 1 + count,
                                                             std::numeric_limits<int>::max()));
            return;
        }
    }
    std::uint8_t* const start = buf.data().data() + cursor;
    std::uint8_t* out = start + 1;
    for (std::size_t w = 0; w < words.size(); ++w) {
        for (std::uint64_t bits = words[w]; bits != 0; bits &= bits - 1)
            *out++ = static_cast<std::uint8_t>(64 * w + std::countr_zero(bits) + 1);
    }
    const int count = static_cast<int>(out - start - 1);
    *start = static_cast<std::uint8_t>(count);
    cursor += 1 + count;
}

// Each byte's Material as a set's words: numbers outside 1-240 name no Material and give none.
// One lookup and four ORs a number, with no shift or test on the way: the largest show holds
// over a million numbers.
struct NumberWords {
    std::array<SetWords, 256> words{};
    constexpr NumberWords() {
        for (unsigned m = 1; m <= kMaterialsPerBank; ++m)
            words[m][(m - 1) / 64] = std::uint64_t{1} << ((m - 1) % 64);
    }
};
constexpr NumberWords kNumberWords;

void readList(MaterialSet& set, int& cursor, RecordBuffer& buf) {
    const int n = Fun_Get1(cursor, buf);
    if (!buf.require(cursor, n)) {
        set.reset();
        return;
    }
    const std::uint8_t* in = buf.view().data() + cursor;
    SetWords words{};
    for (int i = 0; i < n; ++i) {
        const SetWords& number = kNumberWords.words[in[i]];
        for (std::size_t w = 0; w < words.size(); ++w)
            words[w] |= number[w];
    }
    cursor += n;
    set = std::bit_cast<MaterialSet>(words);
}

void writeSettings(const Effect& fx, int& cursor, RecordBuffer& buf) {
    int flags = 0;
    if (fx.independentBass != 0) flags |= kFlagIndependentBass;
    if (fx.beatCorrespondence != 0) flags |= kFlagBeatCorrespondence;
    if (correspondenceInvalid(fx)) flags |= kFlagCorrespondenceInvalid;
    if (fx.bassDisabled != 0) flags |= kFlagBassDisabled;
    if (fx.vjMode == kVjModeDmx) flags |= kFlagVjDmx;
    if (fx.bassSwitchJumpsBar != 0) flags |= kFlagBassSwitchJumpsBar;
    Fun_Put1(flags, cursor, buf);
    Fun_Put1(fx.bassHoldTime, cursor, buf);
    for (const EffectPart& p : fx.parts) {
        Fun_Put1(p.barCount, cursor, buf);
        Fun_Put1(p.beatsPerBar, cursor, buf);
    }
    Fun_Put1(fx.rgbThreshold, cursor, buf);
    Fun_Put1(fx.xyThreshold, cursor, buf);
    Fun_Put1(0, cursor, buf);
    Fun_Put1(0, cursor, buf);
}

bool readSettings(Effect& fx, int& cursor, RecordBuffer& buf) {
    if (!buf.require(cursor, kEffectSettingsSize)) return false;
    const int flags = Fun_Get1(cursor, buf);
    fx.independentBass = (flags & kFlagIndependentBass) ? 1 : 0;
    fx.beatCorrespondence = (flags & kFlagBeatCorrespondence) ? 1 : 0;
    fx.bassDisabled = (flags & kFlagBassDisabled) ? 1 : 0;
    fx.vjMode = (flags & kFlagVjDmx) ? kVjModeDmx : 0;
    fx.bassSwitchJumpsBar = (flags & kFlagBassSwitchJumpsBar) ? 1 : 0;
    fx.bassHoldTime = static_cast<std::uint8_t>(Fun_Get1(cursor, buf));
    for (EffectPart& p : fx.parts) {
        p.barCount = static_cast<std::uint8_t>(Fun_Get1(cursor, buf));
        p.beatsPerBar = static_cast<std::uint8_t>(Fun_Get1(cursor, buf));
    }
    fx.rgbThreshold = static_cast<std::uint8_t>(Fun_Get1(cursor, buf));
    fx.xyThreshold = static_cast<std::uint8_t>(Fun_Get1(cursor, buf));
    cursor += 2;
    // The grid holds 48 Bars of 8 Beats; a larger shape is not one of ours.
    return std::ranges::all_of(fx.parts, [](const EffectPart& p) {
        return p.barCount <= kMaxBars && p.beatsPerBar <= kMaxBeats;
    });
}

void writeSelections(const EffectPart& p, int& cursor, RecordBuffer& buf) {
    const int table = cursor;
    const int beats = p.barCount * p.beatsPerBar;
    cursor += 2 * beats;
    std::array<int, kMaxBars * kMaxBeats> entries;
    int n = 0;
    for (int bar = 1; bar <= p.barCount; ++bar) {
        for (int beat = 1; beat <= p.beatsPerBar; ++beat) {
            entries[n++] = cursor - table;
            writeList(p.selections[beatKey(bar, beat)], cursor, buf);
        }
    }
    const std::span<const int> used(entries.data(), n);
    if (std::ranges::any_of(used, [](int e) { return e > kMaxRelativePosition; })) buf.fail();
    Fun_PutInt16Table(table, used, buf);
}

void readSelections(EffectPart& p, int& cursor, RecordBuffer& buf) {
    const int table = cursor;
    std::array<int, kMaxBars * kMaxBeats> entries;
    const std::span<int> used(entries.data(), std::size_t{p.barCount} * p.beatsPerBar);
    Fun_GetInt16Table(used, cursor, buf);
    auto entry = used.begin();
    for (int bar = 1; bar <= p.barCount && buf.ok(); ++bar) {
        for (int beat = 1; beat <= p.beatsPerBar; ++beat, ++entry) {
            cursor = table + *entry;
            readList(p.selections[beatKey(bar, beat)], cursor, buf);
        }
    }
}

void writeBars(const EffectPart& p, int& cursor, RecordBuffer& buf) {
    Fun_Put1(kBarRecordSize, cursor, buf);
    for (int bar = 1; bar <= p.barCount; ++bar) {
        const BarSettings& b = p.bars[bar - 1];
        Fun_Put1(b.bassHold != 0 ? 1 : 0, cursor, buf);
        Fun_Put1(b.repeat, cursor, buf);
        Fun_Put1(b.beatDwellTime, cursor, buf);
    }
}

// Records may be longer than ours (the rest is passed over) or shorter (what they lack stays 0).
void readBars(EffectPart& p, int& cursor, RecordBuffer& buf) {
    const int size = Fun_Get1(cursor, buf);
    if (!buf.require(cursor, size * p.barCount)) return;
    for (int bar = 1; bar <= p.barCount; ++bar) {
        BarSettings& b = p.bars[bar - 1];
        if (size > 0) b.bassHold = Fun_GetAt1(cursor, buf) & 0x01;
        if (size > 1) b.repeat = static_cast<std::uint8_t>(Fun_GetAt1(cursor + 1, buf));
        if (size > 2) b.beatDwellTime = static_cast<std::uint8_t>(Fun_GetAt1(cursor + 2, buf));
        cursor += size;
    }
}

void writeModules(const Effect& fx, int& cursor, RecordBuffer& buf) {
    Fun_Put1(kModuleRecordSize, cursor, buf);
    for (const ModuleSettings& m : fx.modules) {
        Fun_Put1(m.materialAssociation, cursor, buf);
        Fun_Put1(m.associationRepeat, cursor, buf);
    }
}

void readModules(Effect& fx, int& cursor, RecordBuffer& buf) {
    const int size = Fun_Get1(cursor, buf);
    if (!buf.require(cursor, size * kModules)) return;
    for (ModuleSettings& m : fx.modules) {
        if (size > 0) m.materialAssociation = Fun_GetAt1(cursor, buf) != 0 ? 1 : 0;
        if (size > 1) m.associationRepeat = static_cast<std::uint8_t>(Fun_GetAt1(cursor + 1, buf));
        cursor += size;
    }
}

void writeBody(const Effect& fx, int& cursor, RecordBuffer& buf) {
    const int start = cursor;
    std::array<int, kEffectBodyBlocks> blocks{};
    cursor += 3 * kEffectBodyBlocks;
    blocks[0] = cursor;
    writeSettings(fx, cursor, buf);
    blocks[1] = cursor;
    writeList(fx.allNoBassBeats, cursor, buf);
    blocks[2] = cursor;
    writeList(fx.allBassBeats, cursor, buf);
    blocks[3] = cursor;
    writeList(fx.allBeats, cursor, buf);
    for (int part = 0; part < kParts; ++part) {
        blocks[4 + part] = cursor;
        writeSelections(fx.parts[part], cursor, buf);
    }
    for (int part = 0; part < kParts; ++part) {
        blocks[6 + part] = cursor;
        writeBars(fx.parts[part], cursor, buf);
    }
    blocks[8] = cursor;
    writeModules(fx, cursor, buf);
    Fun_PutInt24Table(start, blocks, buf);
}

// Blocks are read in table order; a block whose entry is 0 is absent. The cursor ends after the
// last block read, where the writer put the text fields.
bool readBody(Effect& fx, int& cursor, RecordBuffer& buf) {
    std::array<int, kEffectBodyBlocks> blocks{};
    Fun_GetInt24Table(blocks, cursor, buf);
    if (!buf.ok()) return false;
    if (blocks[0] > 0) {
        cursor = blocks[0];
        if (!readSettings(fx, cursor, buf)) return false;
    }
    MaterialSet* lists[] = {&fx.allNoBassBeats, &fx.allBassBeats, &fx.allBeats};
    for (int i = 0; i < 3; ++i) {
        if (blocks[1 + i] <= 0) continue;
        cursor = blocks[1 + i];
        readList(*lists[i], cursor, buf);
    }
    for (int part = 0; part < kParts; ++part) {
        if (blocks[4 + part] <= 0) continue;
        cursor = blocks[4 + part];
        readSelections(fx.parts[part], cursor, buf);
    }
    for (int part = 0; part < kParts; ++part) {
        if (blocks[6 + part] <= 0) continue;
        cursor = blocks[6 + part];
        readBars(fx.parts[part], cursor, buf);
    }
    if (blocks[8] > 0) {
        cursor = blocks[8];
        readModules(fx, cursor, buf);
    }
    return buf.ok();
}

// The records of the last effects sections written, each beside the Effect it was made from: a
// save encodes again only the Effects changed since, and copies the others' bytes, moving their
// body tables' absolute positions along. Saves and the recovery checks write from their own
// threads.
class EncodedRecords {
  public:
    static EncodedRecords& shared() {
        static EncodedRecords records;
        return records;
    }

    // Effect e's record at the cursor when fx is the Effect last encoded there; false (nothing
    // written) otherwise or when it would not fit.
    bool put(int e, const Effect& fx, int& cursor, RecordBuffer& buf, int& bodyPosition) {
        const std::lock_guard lock(m_mutex);
        const Entry& entry = m_entries[e - 1];
        if (!entry.effect || !(*entry.effect == fx)) return false;
        const int size = static_cast<int>(entry.bytes.size());
        if (cursor < 0 || std::int64_t{cursor} + size > buf.capacity()) return false;
        std::copy_n(entry.bytes.data(), size, buf.data().data() + cursor);
        const int shift = cursor - entry.start;
        bodyPosition = 0;
        if (entry.body != 0) {
            bodyPosition = entry.body + shift;
            for (int i = 0; i < kEffectBodyBlocks; ++i) {
                const int at = bodyPosition + 3 * i;
                const int block = Fun_GetAt3(at, buf);
                if (block != 0) Fun_PutAt3(block + shift, at, buf);
            }
        }
        cursor += size;
        return true;
    }

    // What was just encoded for Effect e from start to the cursor, without failing the buffer.
    void keep(int e, const Effect& fx, int start, int bodyPosition, int cursor,
              const RecordBuffer& buf) {
        const auto bytes = buf.view().subspan(start, cursor - start);
        const std::lock_guard lock(m_mutex);
        Entry& entry = m_entries[e - 1];
        if (entry.effect) {
            *entry.effect = fx;
        } else {
            entry.effect = std::make_unique<Effect>(fx);
        }
        entry.bytes.assign(bytes.begin(), bytes.end());
        entry.start = start;
        entry.body = bodyPosition;
    }

  private:
    struct Entry {
        std::unique_ptr<Effect> effect;  // none before the first encoding
        std::vector<std::uint8_t> bytes;
        int start = 0;
        int body = 0;
    };
    std::mutex m_mutex;
    std::array<Entry, kEffectCount> m_entries;
};

// A record read into fx as it is, which must be a fresh Effect; on failure it is part-read.
bool readEffectInto(Effect& fx, int bodyPosition, int& cursor, RecordBuffer& buf) {
    if (bodyPosition > 0) {
        cursor = bodyPosition;
        if (!readBody(fx, cursor, buf)) return false;
    }
    Fun_GetStr(fx.remark, kEffectTextMax, cursor, buf);
    for (ModuleSettings& m : fx.modules)
        Fun_GetStr(m.remark, kEffectTextMax, cursor, buf);
    return buf.ok();
}

// Records from and to into t, a table of fresh Effects, each read where it stays: no copy of its
// grids; cursor ends after the last one. A failure leaves the table for the caller to clear or
// drop.
bool readEffectRange(EffectTable& t, const std::array<int, kEffectCount>& bodies, int from, int to,
                     int& cursor, RecordBuffer& buf) {
    for (int e = from; e <= to; ++e) {
        if (!readEffectInto(t.at(e), bodies[e - 1], cursor, buf)) return false;
    }
    return true;
}

// The record whose body starts nearest the middle of the bodies, when they span enough bytes to
// be worth a second thread; 0 otherwise. A record with a body is read from its body's position,
// whatever the records before it hold.
int secondHalfStart(const std::array<int, kEffectCount>& bodies) {
    constexpr int kWorthASecondThread = 256 * 1024;
    int first = 0;
    int last = 0;
    for (const int at : bodies) {
        if (at <= 0) continue;
        if (first == 0) first = at;
        last = at;
    }
    if (last - first < kWorthASecondThread) return 0;
    const int middle = first + (last - first) / 2;
    int best = 0;
    for (int e = 2; e <= kEffectCount; ++e) {
        const int at = bodies[e - 1];
        if (at > 0 && (best == 0 || std::abs(at - middle) < std::abs(bodies[best - 1] - middle)))
            best = e;
    }
    return best;
}

// Every record of the section into t, a table of fresh Effects, which then holds only what the
// bytes gave.
// The beat lists of the largest shows take milliseconds: the second half of the records is read
// on a thread of its own, from a buffer of its own sharing the bytes.
bool readEffectRecords(EffectTable& t, int& cursor, RecordBuffer& buf) {
    cursor += kEffectsHeaderSize;
    std::array<int, kEffectCount> bodies{};
    Fun_GetInt24Table(bodies, cursor, buf);
    if (!buf.ok()) return false;
    const int split = secondHalfStart(bodies);
    if (split == 0) return readEffectRange(t, bodies, 1, kEffectCount, cursor, buf);
    RecordBuffer secondBuf = buf;
    int secondCursor = 0;
    auto second = std::async(std::launch::async, [&] {
        return readEffectRange(t, bodies, split, kEffectCount, secondCursor, secondBuf);
    });
    const bool firstRead = readEffectRange(t, bodies, 1, split - 1, cursor, buf);
    const bool secondRead = second.get();
    cursor = secondCursor;
    return firstRead && secondRead;
}

}  // namespace

void writeEffectRecord(const Effect& fx, int& cursor, RecordBuffer& buf, int& bodyPosition) {
    bodyPosition = 0;
    if (effectHasContent(fx)) {
        bodyPosition = cursor;
        writeBody(fx, cursor, buf);
    }
    Fun_PutStr(fx.remark, kEffectTextMax, cursor, buf);
    for (const ModuleSettings& m : fx.modules)
        Fun_PutStr(m.remark, kEffectTextMax, cursor, buf);
}

bool readEffectRecord(Effect& out, int bodyPosition, int& cursor, RecordBuffer& buf) {
    Effect fx;
    if (!readEffectInto(fx, bodyPosition, cursor, buf)) return false;
    out = std::move(fx);
    return true;
}

void writeEffectsBody(const EffectTable& t, int& cursor, RecordBuffer& buf) {
    const std::array<std::uint8_t, kEffectsHeaderSize> zeros{};
    Fun_PutBytes(kEffectsHeaderSize, zeros, cursor, buf);
    const int table = cursor;
    cursor += kEffectsTableSize;
    std::array<int, kEffectCount> bodies{};
    EncodedRecords& encoded = EncodedRecords::shared();
    for (int e = 1; e <= kEffectCount; ++e) {
        const Effect& fx = t.at(e);
        if (encoded.put(e, fx, cursor, buf, bodies[e - 1])) continue;
        const bool wasOk = buf.ok();
        const int start = cursor;
        writeEffectRecord(fx, cursor, buf, bodies[e - 1]);
        if (wasOk && buf.ok()) encoded.keep(e, fx, start, bodies[e - 1], cursor, buf);
    }
    Fun_PutInt24Table(table, bodies, buf);
}

bool readEffectsBody(EffectTable& t, int& cursor, RecordBuffer& buf) {
    auto parsed = std::make_unique<EffectTable>();
    if (!readEffectRecords(*parsed, cursor, buf)) return false;
    t = std::move(*parsed);
    return true;
}

void saveEffectsSection(const EffectTable& t, RecordBuffer& buf, int& cursor) {
    Fun_BeginSection(kSectionEffects, kEffectsTag, cursor, buf);
    writeEffectsBody(t, cursor, buf);
    for (std::uint8_t b : kTrailer)
        Fun_Put1(b, cursor, buf);
}

bool loadEffectsSection(EffectTable& t, RecordBuffer& buf, int& cursor) {
    clearAllEffects(t);
    if (!Fun_FindSection(kSectionEffects, kEffectsTag, cursor, buf)) return true;
    // Read in place, the table being cleared anyway: no second table of the grids' size.
    if (readEffectRecords(t, cursor, buf)) return true;
    clearAllEffects(t);
    return false;
}

SectionRoutine effectsSectionRoutine(EffectTable& t) {
    return {kSectionEffects, kEffectsTag,
            [&t](RecordBuffer& buf, int& cursor, SectionScratch) {
                saveEffectsSection(t, buf, cursor);
            },
            [&t](RecordBuffer& buf, int& cursor, SectionScratch, QStringList&) {
                return loadEffectsSection(t, buf, cursor);
            }};
}

}  // namespace kx
