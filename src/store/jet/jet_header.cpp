#include "store/jet/jet_header.h"

#include "common/error.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace qv::store::jet {

namespace {

constexpr int signatureOffset = 4;
constexpr QByteArrayView signature("Standard Jet DB");
constexpr int versionOffset = 0x14;
constexpr int maskedOffset = 0x18; // the header page is masked from here on
constexpr int encodingKeyOffset = 0x3e;
constexpr int passwordOffset = 0x42;
constexpr int creationDateOffset = 0x72;
constexpr int catalogDefinitionPage = 2; // MSysObjects' table definition
constexpr int minimumPages = catalogDefinitionPage + 1;
constexpr unsigned char tableDefinitionPageType = 0x02;

// The engine masks the header with the RC4 keystream of the fixed key 0x6b39dac7 (little-endian).
std::array<unsigned char, 128> headerMask()
{
    const std::array<unsigned char, 4> key = {0xc7, 0xda, 0x39, 0x6b};
    std::array<unsigned char, 256> s{};
    for (int i = 0; i < 256; ++i)
        s[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i);
    unsigned j = 0;
    for (unsigned i = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % key.size()]) & 0xffu;
        std::swap(s[i], s[j]);
    }
    std::array<unsigned char, 128> mask{};
    unsigned a = 0;
    unsigned b = 0;
    for (auto& m : mask) {
        a = (a + 1) & 0xffu;
        b = (b + s[a]) & 0xffu;
        std::swap(s[a], s[b]);
        m = s[(s[a] + s[b]) & 0xffu];
    }
    return mask;
}

quint32 readUInt32(const unsigned char* p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

// Jet 4 masks the password once more with the creation date truncated to a 32-bit integer.
std::array<unsigned char, 4> creationDateMask(const unsigned char* header)
{
    double date = 0;
    std::memcpy(&date, header + creationDateOffset, sizeof date);
    qint32 whole = 0;
    if (std::isfinite(date))
        whole = date >= 2147483647.0    ? std::numeric_limits<qint32>::max()
                : date <= -2147483648.0 ? std::numeric_limits<qint32>::min()
                                        : static_cast<qint32>(date);
    const auto u = static_cast<quint32>(whole);
    return {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
            static_cast<unsigned char>(u >> 16), static_cast<unsigned char>(u >> 24)};
}

Error damaged(const QString& path, const QString& why)
{
    return Error(err::NotADatabase, QStringLiteral("Unrecognized database format '%1' (%2).").arg(path, why));
}

} // namespace

bool hasJetSignature(QByteArrayView head)
{
    return head.size() >= signatureOffset + signature.size() &&
           head.sliced(signatureOffset, signature.size()) == signature;
}

JetFileLayout checkJetFile(const QString& path, QByteArrayView bytes)
{
    const auto mask = headerMask();
    if (bytes.size() < maskedOffset + qsizetype(mask.size()) || !hasJetSignature(bytes))
        throw Error(err::NotADatabase, QStringLiteral("Unrecognized database format '%1'.").arg(path));

    JetFileLayout layout;
    switch (static_cast<unsigned char>(bytes[versionOffset])) {
    case 0:
        layout = {JetVersion::Jet3, 2048, 0};
        break;
    case 1:
        layout = {JetVersion::Jet4, 4096, 0};
        break;
    default:
        throw damaged(path, QStringLiteral("unsupported engine version"));
    }
    if (bytes.size() % layout.pageSize != 0)
        throw damaged(path, QStringLiteral("the file is truncated or damaged"));
    layout.pageCount = bytes.size() / layout.pageSize;
    if (layout.pageCount < minimumPages)
        throw damaged(path, QStringLiteral("the file is truncated"));

    // Unmask the header: Jet 3 masks 126 bytes, Jet 4 128.
    std::array<unsigned char, maskedOffset + 128> header{};
    std::memcpy(header.data(), bytes.data(), header.size());
    const std::size_t maskedLength = layout.version == JetVersion::Jet3 ? 126 : 128;
    for (std::size_t i = 0; i < maskedLength; ++i)
        header[maskedOffset + i] ^= mask[i];

    if (readUInt32(header.data() + encodingKeyOffset) != 0)
        throw Error(err::EncryptedDatabase,
                    QStringLiteral("Not a valid password. The database '%1' is encrypted.").arg(path));
    bool hasPassword = false;
    if (layout.version == JetVersion::Jet3) {
        for (int i = 0; i < 20; ++i)
            hasPassword = hasPassword || header[passwordOffset + i] != 0;
    } else {
        const auto dateMask = creationDateMask(header.data());
        for (std::size_t i = 0; i < 40; ++i)
            hasPassword = hasPassword || (header[passwordOffset + i] ^ dateMask[i % 4]) != 0;
    }
    if (hasPassword)
        throw Error(
            err::EncryptedDatabase,
            QStringLiteral("Not a valid password. The database '%1' is protected by a password.").arg(path));

    const auto* catalog =
        reinterpret_cast<const unsigned char*>(bytes.data()) + catalogDefinitionPage * layout.pageSize;
    if (catalog[0] != tableDefinitionPageType)
        throw damaged(path, QStringLiteral("the catalogue is damaged"));
    return layout;
}

} // namespace qv::store::jet
