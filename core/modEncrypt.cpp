#include "core/modEncrypt.h"

#include <sodium.h>

#include <QByteArray>
#include <array>
#include <stdexcept>

#include "core/Trap.h"

namespace modEncrypt {

namespace {

constexpr int kSaltBytes = crypto_pwhash_SALTBYTES;
constexpr int kKeyBytes = 20;
constexpr int kStoredBytes = kSaltBytes + kKeyBytes;
static_assert(kSaltBytes == 16, "the stored form is 16 bytes of salt and 20 of key");
static_assert(kKeyBytes >= crypto_pwhash_BYTES_MIN);

void EnsureSodium() {
    static const bool ready = sodium_init() >= 0;
    if (!ready) throw std::runtime_error("The password library could not be started.");
}

bool InAlphabet(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '+' || u == '/';
}

// Padding may only close the last group: "xx==" or "xxx=".
bool PaddingInPlace(const QString& text) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text.at(i) != u'=') continue;
        if (i < n - 2) return false;
        if (i == n - 2 && text.at(n - 1) != u'=') return false;
    }
    return true;
}

std::array<unsigned char, kKeyBytes> DeriveKey(const QString& password, const unsigned char* salt) {
    EnsureSodium();
    const QByteArray utf8 = password.toUtf8();
    std::array<unsigned char, kKeyBytes> key{};
    if (crypto_pwhash(key.data(), key.size(), utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                      salt, crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE,
                      crypto_pwhash_ALG_ARGON2ID13) != 0) {
        throw std::runtime_error("Out of memory while checking the password.");
    }
    return key;
}

}  // namespace

QString Base64Encode(const QString& text, int16_t wrapLength) {
    QString result;
    core::trap(QStringLiteral("modEncrypt.Base64Encode"), core::Tail::Silent, [&] {
        if (text.isEmpty()) return;
        const QString encoded = QString::fromLatin1(text.toLatin1().toBase64());
        if (wrapLength < 1) {
            result = encoded;
            return;
        }
        result.reserve(encoded.size() + (encoded.size() / wrapLength) * 2);
        for (qsizetype at = 0; at < encoded.size(); at += wrapLength) {
            if (at > 0) result += QStringLiteral("\r\n");
            result += encoded.mid(at, wrapLength);
        }
    });
    return result;
}

QString Base64Decode(const QString& text) {
    QString result;
    core::trap(QStringLiteral("modEncrypt.Base64Decode"), core::Tail::Silent, [&] {
        QString remainder;
        remainder.reserve(text.size());
        for (QChar c : text) {
            if (c == u' ' || c == u'\r' || c == u'\n') continue;
            if (!InAlphabet(c) && c != u'=') return;
            remainder += c;
        }
        if (remainder.isEmpty() || remainder.size() % 4 != 0 || !PaddingInPlace(remainder)) return;
        const auto decoded =
            QByteArray::fromBase64Encoding(remainder.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (decoded.decodingStatus != QByteArray::Base64DecodingStatus::Ok) return;
        result = QString::fromLatin1(decoded.decoded);
    });
    return result;
}

QString HashPassword(const QString& password) {
    EnsureSodium();
    std::array<unsigned char, kStoredBytes> stored{};
    randombytes_buf(stored.data(), kSaltBytes);
    const auto key = DeriveKey(password, stored.data());
    std::copy(key.begin(), key.end(), stored.begin() + kSaltBytes);
    const QString bytes = QString::fromLatin1(reinterpret_cast<const char*>(stored.data()),
                                              static_cast<qsizetype>(stored.size()));
    sodium_memzero(stored.data(), stored.size());
    return Base64Encode(bytes, 0);
}

bool VerifyPassword(const QString& password, const QString& stored) {
    const QByteArray bytes = Base64Decode(stored).toLatin1();
    if (bytes.size() != kStoredBytes) return false;
    const auto* raw = reinterpret_cast<const unsigned char*>(bytes.constData());
    auto key = DeriveKey(password, raw);
    const bool same = sodium_memcmp(key.data(), raw + kSaltBytes, kKeyBytes) == 0;
    sodium_memzero(key.data(), key.size());
    return same;
}

}  // namespace modEncrypt
