#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace kxsim {

// What the transfer side gets wrong on purpose.
struct TransferFaults {
    bool failVerify = false;  // the verification answers failure
    // The next n status answers report one block short and forget that block, as if it had
    // never arrived, so the tool sends it again.
    int wrongStatus = 0;
    bool shortUpload = false;  // upload blocks carry one byte less than asked
};

// The Controller's file store: receives downloads (start, packed blocks, status, verification)
// and serves uploads from one folder, a file per type.
class SimTransfer {
  public:
    static constexpr qint64 kMaxFileLength = 32 * 1024 * 1024;
    static constexpr int kMaxUploadBlock = 2000;

    explicit SimTransfer(QString folder) : m_folder(std::move(folder)) {}

    // The reply body (code + data) to a transfer command body, or none where the Controller
    // stays silent (a block it could not take, a start it refuses).
    std::optional<QByteArray> handle(const QByteArray& body);

    // The file of a type in the folder: S7420.K74, QB.KQB, VOD.KVD, IRAC.AC, FIRMWARE.BIN.
    QString pathOf(int type) const;
    static QString fileName(int type);
    static std::uint32_t startAddressOf(int type) {
        return 0x10000u * static_cast<std::uint32_t>(type);
    }

    TransferFaults faults;

    bool downloading() const { return m_active; }
    const QByteArray& received() const { return m_data; }
    int blocksAccepted() const { return m_blocksAccepted; }
    int blocksRefused() const { return m_blocksRefused; }
    int verifications() const { return m_verifications; }
    bool lastVerifyOk() const { return m_lastVerifyOk; }
    // The scene the verification asked to switch to (0: none asked yet).
    int switchedScene() const { return m_switchedScene; }
    int storedFiles() const { return m_storedFiles; }

  private:
    std::optional<QByteArray> start(const QByteArray& args);
    std::optional<QByteArray> block(const QByteArray& args);
    QByteArray status();
    QByteArray verify(const QByteArray& args);
    QByteArray uploadInfo(const QByteArray& args);
    QByteArray uploadBlock(const QByteArray& args);

    QString m_folder;
    bool m_active = false;
    int m_type = 0;
    std::uint32_t m_length = 0;
    std::uint16_t m_checksum = 0;
    QByteArray m_data;
    int m_lastBlock = 0;
    int m_blocksAccepted = 0;
    int m_blocksRefused = 0;
    int m_verifications = 0;
    bool m_lastVerifyOk = false;
    int m_switchedScene = 0;
    int m_storedFiles = 0;
    int m_servedType = 0;
    QByteArray m_served;
};

}  // namespace kxsim
