#include "webidentity.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSysInfo>
#include <QUrl>
#include <algorithm>
#include <memory>
#include <optional>

#include "platform/userfolders.h"
#include "scannermemory.h"

namespace {

constexpr int kAuthorityDays = 3652;
constexpr int kServerDays = 397;
// A certificate that expires within this many days is made again before a handheld refuses it.
constexpr int kRenewDays = 30;
// A handheld whose clock runs a little behind still takes a certificate made today; the days a
// certificate is valid count from then, as browsers count them.
constexpr long kBackdateSeconds = 24 * 60 * 60;
// The longest common name a certificate may carry.
constexpr qsizetype kMaxCommonName = 64;

template <auto release>
struct Releaser {
    template <typename T>
    void operator()(T* pointer) const {
        release(pointer);
    }
};
using Key = std::unique_ptr<EVP_PKEY, Releaser<EVP_PKEY_free>>;
using Certificate = std::unique_ptr<X509, Releaser<X509_free>>;
using Bio = std::unique_ptr<BIO, Releaser<BIO_free_all>>;
using KeyContext = std::unique_ptr<EVP_PKEY_CTX, Releaser<EVP_PKEY_CTX_free>>;
using Extension = std::unique_ptr<X509_EXTENSION, Releaser<X509_EXTENSION_free>>;
using Names = std::unique_ptr<GENERAL_NAMES, Releaser<GENERAL_NAMES_free>>;
using Number = std::unique_ptr<BIGNUM, Releaser<BN_free>>;

// The files of one certificate and its key.
struct Place {
    QString certificate;
    QString key;
};

// A certificate with its key, as read or made.
struct Signer {
    Certificate certificate;
    Key key;
};

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Why OpenSSL last failed, in its own words.
QString sslReason() {
    const unsigned long code = ERR_get_error();
    ERR_clear_error();
    if (code == 0) {
        return QStringLiteral("no reason given");
    }
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    return QString::fromLatin1(text);
}

[[noreturn]] void cannotMake(const char* what) {
    throw scanner::Failure(
        QStringLiteral("cannot make the handheld page's %1: %2").arg(QLatin1String(what), sslReason()));
}

// The file's bytes, or nothing when it is not there.
std::optional<QByteArray> readIfThere(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw scanner::Failure(
            QStringLiteral(
                "cannot read %1: %2; make it readable for you, or move it away to have it made anew")
                .arg(shown(path), file.errorString()));
    }
    return file.readAll();
}

void writePrivately(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        file.write(bytes) != bytes.size() || !file.commit()) {
        throw scanner::Failure(QStringLiteral("cannot write %1: %2; make its folder writable for you")
                                   .arg(shown(path), file.errorString()));
    }
}

Bio memoryOf(const QByteArray& bytes) {
    return Bio(BIO_new_mem_buf(bytes.constData(), static_cast<int>(bytes.size())));
}

QByteArray bytesOf(BIO* bio) {
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    return QByteArray(data, size);
}

QByteArray pemOf(X509* certificate) {
    const Bio bio(BIO_new(BIO_s_mem()));
    if (!bio || PEM_write_bio_X509(bio.get(), certificate) != 1) {
        cannotMake("certificate");
    }
    return bytesOf(bio.get());
}

QByteArray pemOf(EVP_PKEY* key) {
    const Bio bio(BIO_new(BIO_s_mem()));
    if (!bio || PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr) != 1) {
        cannotMake("key");
    }
    return bytesOf(bio.get());
}

// The certificate and key at `place` when both are there, can be read and belong together.
std::optional<Signer> readSigner(const Place& place) {
    const std::optional<QByteArray> certificateText = readIfThere(place.certificate);
    const std::optional<QByteArray> keyText = readIfThere(place.key);
    if (!certificateText || !keyText) {
        return std::nullopt;
    }
    Signer signer{Certificate(PEM_read_bio_X509(memoryOf(*certificateText).get(), nullptr, nullptr, nullptr)),
                  Key(PEM_read_bio_PrivateKey(memoryOf(*keyText).get(), nullptr, nullptr, nullptr))};
    const bool whole = signer.certificate && signer.key &&
                       X509_check_private_key(signer.certificate.get(), signer.key.get()) == 1;
    ERR_clear_error();
    return whole ? std::optional<Signer>(std::move(signer)) : std::nullopt;
}

Key newKey() {
    const KeyContext context(EVP_PKEY_CTX_new_from_name(nullptr, "EC", nullptr));
    EVP_PKEY* key = nullptr;
    if (!context || EVP_PKEY_keygen_init(context.get()) != 1 ||
        EVP_PKEY_CTX_set_group_name(context.get(), "P-256") != 1 ||
        EVP_PKEY_generate(context.get(), &key) != 1) {
        cannotMake("key");
    }
    return Key(key);
}

void addExtension(X509* certificate, X509V3_CTX& context, int nid, const char* value) {
    const Extension extension(X509V3_EXT_conf_nid(nullptr, &context, nid, value));
    if (!extension || X509_add_ext(certificate, extension.get(), -1) != 1) {
        cannotMake("certificate");
    }
}

// The names and addresses the server certificate is good for.
void addAlternativeNames(X509* certificate, const QStringList& hostNames,
                         const QList<QHostAddress>& addresses) {
    const Names names(sk_GENERAL_NAME_new_null());
    for (const QString& hostName : hostNames) {
        const QByteArray ascii = QUrl::toAce(hostName.toLower());
        GENERAL_NAME* name = GENERAL_NAME_new();
        ASN1_IA5STRING* text = ASN1_IA5STRING_new();
        ASN1_STRING_set(text, ascii.constData(), static_cast<int>(ascii.size()));
        GENERAL_NAME_set0_value(name, GEN_DNS, text);
        sk_GENERAL_NAME_push(names.get(), name);
    }
    for (QHostAddress address : addresses) {
        address.setScopeId(QString());
        ASN1_OCTET_STRING* octets = a2i_IPADDRESS(address.toString().toLatin1().constData());
        if (octets == nullptr) {
            cannotMake("certificate");
        }
        GENERAL_NAME* name = GENERAL_NAME_new();
        GENERAL_NAME_set0_value(name, GEN_IPADD, octets);
        sk_GENERAL_NAME_push(names.get(), name);
    }
    if (sk_GENERAL_NAME_num(names.get()) > 0 &&
        X509_add1_ext_i2d(certificate, NID_subject_alt_name, names.get(), 0, X509V3_ADD_DEFAULT) != 1) {
        cannotMake("certificate");
    }
}

// A certificate for `key` named `commonName`, valid `days` from `now`, signed by `issuer`, or by
// itself when there is none; `extend` adds what it is for.
template <typename Extend>
Certificate newCertificate(const QString& commonName, EVP_PKEY* key, const Signer* issuer, int days,
                           const QDateTime& now, Extend extend) {
    Certificate certificate(X509_new());
    unsigned char serial[16];
    if (!certificate || RAND_bytes(serial, sizeof serial) != 1) {
        cannotMake("certificate");
    }
    serial[0] &= 0x7f;  // a serial number is positive
    serial[0] |= 0x01;  // and not zero
    const Number serialNumber(BN_bin2bn(serial, sizeof serial, nullptr));
    const QByteArray name = commonName.left(kMaxCommonName).toUtf8();
    time_t start = now.toSecsSinceEpoch();
    X509_NAME* subject = X509_get_subject_name(certificate.get());
    if (!serialNumber || X509_set_version(certificate.get(), X509_VERSION_3) != 1 ||
        BN_to_ASN1_INTEGER(serialNumber.get(), X509_get_serialNumber(certificate.get())) == nullptr ||
        X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_UTF8,
                                   reinterpret_cast<const unsigned char*>(name.constData()), -1, -1,
                                   0) != 1 ||
        X509_set_issuer_name(certificate.get(),
                             issuer ? X509_get_subject_name(issuer->certificate.get()) : subject) != 1 ||
        X509_time_adj_ex(X509_getm_notBefore(certificate.get()), 0, -kBackdateSeconds, &start) == nullptr ||
        X509_time_adj_ex(X509_getm_notAfter(certificate.get()), days, -kBackdateSeconds, &start) == nullptr ||
        X509_set_pubkey(certificate.get(), key) != 1) {
        cannotMake("certificate");
    }
    X509V3_CTX context;
    X509V3_set_ctx(&context, issuer ? issuer->certificate.get() : certificate.get(), certificate.get(),
                   nullptr, nullptr, 0);
    addExtension(certificate.get(), context, NID_subject_key_identifier, "hash");
    extend(certificate.get(), context);
    if (X509_sign(certificate.get(), issuer ? issuer->key.get() : key, EVP_sha256()) == 0) {
        cannotMake("certificate");
    }
    return certificate;
}

Signer newAuthority(const QDateTime& now) {
    Key key = newKey();
    Certificate certificate = newCertificate(
        QStringLiteral("RM Stockhand handheld authority (%1)").arg(QSysInfo::machineHostName()), key.get(),
        nullptr, kAuthorityDays, now, [](X509* made, X509V3_CTX& context) {
            addExtension(made, context, NID_basic_constraints, "critical,CA:TRUE");
            addExtension(made, context, NID_key_usage, "critical,keyCertSign,cRLSign");
        });
    return {std::move(certificate), std::move(key)};
}

Signer newServer(const Signer& authority, const QStringList& hostNames, const QList<QHostAddress>& addresses,
                 const QDateTime& now) {
    Key key = newKey();
    Certificate certificate =
        newCertificate(QStringLiteral("RM Stockhand handheld page"), key.get(), &authority, kServerDays, now,
                       [&](X509* made, X509V3_CTX& context) {
                           addExtension(made, context, NID_authority_key_identifier, "keyid:always");
                           addExtension(made, context, NID_basic_constraints, "critical,CA:FALSE");
                           addExtension(made, context, NID_key_usage, "critical,digitalSignature");
                           addExtension(made, context, NID_ext_key_usage, "serverAuth");
                           addAlternativeNames(made, hostNames, addresses);
                       });
    return {std::move(certificate), std::move(key)};
}

bool lastsPastRenewal(const QSslCertificate& certificate, const QDateTime& now) {
    return certificate.expiryDate() > now.addDays(kRenewDays);
}

// Whether the server certificate read is the authority's, lasts, and names every name and address.
bool serves(const Signer& server, const Signer& authority, const QStringList& hostNames,
            const QList<QHostAddress>& addresses, const QDateTime& now) {
    const bool signedByAuthority = X509_verify(server.certificate.get(), authority.key.get()) == 1;
    ERR_clear_error();
    const QSslCertificate certificate(pemOf(server.certificate.get()));
    if (!signedByAuthority || !lastsPastRenewal(certificate, now)) {
        return false;
    }
    const auto named = certificate.subjectAlternativeNames();
    const QList<QString> dnsNames = named.values(QSsl::AlternativeNameEntryType::DnsEntry);
    const QList<QString> ipAddresses = named.values(QSsl::AlternativeNameEntryType::IpAddressEntry);
    for (const QString& hostName : hostNames) {
        if (!dnsNames.contains(QString::fromLatin1(QUrl::toAce(hostName)), Qt::CaseInsensitive)) {
            return false;
        }
    }
    for (const QHostAddress& address : addresses) {
        const auto same = [&address](const QString& text) { return QHostAddress(text).isEqual(address); };
        if (std::none_of(ipAddresses.begin(), ipAddresses.end(), same)) {
            return false;
        }
    }
    return true;
}

void write(const Place& place, const Signer& signer) {
    writePrivately(place.key, pemOf(signer.key.get()));
    writePrivately(place.certificate, pemOf(signer.certificate.get()));
}

}  // namespace

WebIdentity loadWebIdentity(const QString& folder, const QStringList& hostNames,
                            const QList<QHostAddress>& addresses, const QDateTime& now) {
    if (!platform::makeUserFolder(folder)) {
        throw scanner::Failure(
            QStringLiteral("cannot make the folder %1 for the handheld page's certificates; make its parent "
                           "writable for you")
                .arg(shown(folder)));
    }
    const Place authorityPlace{folder + QStringLiteral("/authority.crt"),
                               folder + QStringLiteral("/authority.key")};
    const Place serverPlace{folder + QStringLiteral("/server.crt"), folder + QStringLiteral("/server.key")};
    std::optional<Signer> authority = readSigner(authorityPlace);
    if (authority && !lastsPastRenewal(QSslCertificate(pemOf(authority->certificate.get())), now)) {
        authority.reset();
    }
    std::optional<Signer> server;
    if (!authority) {
        authority = newAuthority(now);
        write(authorityPlace, *authority);
    } else {
        server = readSigner(serverPlace);
    }
    if (!server || !serves(*server, *authority, hostNames, addresses, now)) {
        server = newServer(*authority, hostNames, addresses, now);
        write(serverPlace, *server);
    }
    return {{QSslCertificate(pemOf(server->certificate.get())),
             QSslCertificate(pemOf(authority->certificate.get()))},
            QSslKey(pemOf(server->key.get()), QSsl::Ec, QSsl::Pem, QSsl::PrivateKey),
            authorityPlace.certificate};
}
