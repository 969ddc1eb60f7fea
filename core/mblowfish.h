#pragma once

#include <QByteArray>

// Blowfish in electronic-codebook mode, used for the short secrets the settings store
// keeps. Initial tables are the published ones (hex digits of pi, generated at build
// time). Every failure returns an empty array; the only messages are two warnings.
// Not thread-safe: one object per thread.
class MBlowfish
{
public:
    explicit MBlowfish(const QByteArray &key);

    void setPaddingEnabled(bool enabled);
    QByteArray encrypted(const QByteArray &clearText);
    QByteArray decrypted(const QByteArray &cipherText);

private:
    bool init();
    quint32 f(quint32 x) const;
    void encipher(quint32 &left, quint32 &right) const;
    void decipher(quint32 &left, quint32 &right) const;

    QByteArray m_key;
    bool m_initialized = false;
    bool m_paddingEnabled = false;
    quint32 m_parray[18] = {};
    quint32 m_sbox[4][256] = {};
};
