#include "credentials/SecretServiceKeyring.h"

#include <qt6keychain/keychain.h>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEventLoop>
#include <QTimer>
#include <cstring>

namespace vn {
namespace {

const QString kService = QStringLiteral("Vantor Netwarden");
const QString kKey = QStringLiteral("network credentials");

// The names under which a keyring QtKeychain can use answers on the bus,
// running or started by the bus on demand.
const QStringList kKeyringServices = {QStringLiteral("org.freedesktop.secrets"), QStringLiteral("org.kde.kwalletd6"),
                                      QStringLiteral("org.kde.kwalletd5")};

void Wipe(QByteArray& bytes) {
    if (!bytes.isEmpty())
        explicit_bzero(bytes.data(), static_cast<std::size_t>(bytes.size()));
    bytes.clear();
}

QByteArray Encode(const smb::SmbCredentials& credentials) {
    std::string account = credentials.User();
    if (!credentials.Domain().empty())
        account = credentials.Domain() + "\\" + account;
    QByteArray secret = QByteArray::fromStdString(account);
    secret.append('\n');
    secret.append(credentials.Password().data(), static_cast<qsizetype>(credentials.Password().size()));
    return secret;
}

Status Decode(const QByteArray& secret, smb::SmbCredentials& credentials) {
    const qsizetype lineEnd = secret.indexOf('\n');
    if (lineEnd <= 0)
        return ERROR_INVALID_DATA;
    const std::string_view text(secret.constData(), static_cast<std::size_t>(secret.size()));
    credentials = smb::SmbCredentials::FromPassword(text.substr(0, static_cast<std::size_t>(lineEnd)),
                                                    text.substr(static_cast<std::size_t>(lineEnd) + 1), {});
    return credentials.User().empty() ? ERROR_INVALID_DATA : ERROR_SUCCESS;
}

struct JobOutcome {
    Status status = ERROR_SUCCESS;
    QByteArray secret;
};

// Runs the job in a local event loop for at most kAnswerLimit. A job that has
// not finished by then is left to end on its own (it deletes itself); its
// answer then goes nowhere.
JobOutcome Run(QKeychain::Job* job, std::string& why) {
    JobOutcome outcome;
    bool finished = false;
    QEventLoop loop;
    job->setAutoDelete(true);
    job->setInsecureFallback(false);  // a keyring or nothing: never a file
    job->setKey(kKey);
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&](QKeychain::Job* done) {
        finished = true;
        switch (done->error()) {
        case QKeychain::NoError:
            if (const auto* read = qobject_cast<QKeychain::ReadPasswordJob*>(done))
                outcome.secret = read->binaryData();
            break;
        case QKeychain::EntryNotFound: outcome.status = ERROR_NOT_FOUND; break;
        case QKeychain::AccessDenied:
        case QKeychain::AccessDeniedByUser:
            outcome.status = ERROR_ACCESS_DENIED;
            why = "the keyring refused: " + done->errorString().toStdString();
            break;
        default:
            outcome.status = ERROR_SERVICE_NOT_ACTIVE;
            why = "the keyring failed: " + done->errorString().toStdString();
            break;
        }
        loop.quit();
    });
    QTimer::singleShot(SecretServiceKeyring::kAnswerLimit, &loop, &QEventLoop::quit);
    job->start();
    if (!finished)
        loop.exec();
    if (!finished) {
        outcome.status = ERROR_SERVICE_NOT_ACTIVE;
        why = "the keyring did not answer within " + std::to_string(SecretServiceKeyring::kAnswerLimit.count()) +
              " seconds (is it locked?)";
    }
    return outcome;
}

}  // namespace

bool SecretServiceKeyring::Reachable(std::string& why) {
    // Asked first so that no keyring library goes looking for a bus of its
    // own (or starts one) when the session has none.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") && qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        why = "there is no session bus (D-Bus) to reach a keyring through";
        return false;
    }
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr) {
        why = "there is no session bus (D-Bus) to reach a keyring through";
        return false;
    }
    const QStringList activatable = bus.interface()->activatableServiceNames().value();
    for (const QString& name : kKeyringServices) {
        if (bus.interface()->isServiceRegistered(name).value() || activatable.contains(name))
            return true;
    }
    why = "no keyring (GNOME Keyring or KWallet) runs on the session bus";
    return false;
}

Status SecretServiceKeyring::Load(smb::SmbCredentials& credentials, std::string& why) {
    if (!Reachable(why))
        return ERROR_SERVICE_NOT_ACTIVE;
    JobOutcome outcome = Run(new QKeychain::ReadPasswordJob(kService), why);
    if (outcome.status == ERROR_SUCCESS) {
        outcome.status = Decode(outcome.secret, credentials);
        if (outcome.status != ERROR_SUCCESS)
            why = "the keyring's entry names no user";
    }
    Wipe(outcome.secret);
    return outcome.status;
}

Status SecretServiceKeyring::Save(const smb::SmbCredentials& credentials, std::string& why) {
    if (!Reachable(why))
        return ERROR_SERVICE_NOT_ACTIVE;
    auto* job = new QKeychain::WritePasswordJob(kService);
    QByteArray secret = Encode(credentials);
    job->setBinaryData(secret);
    Wipe(secret);
    return Run(job, why).status;
}

Status SecretServiceKeyring::Forget(std::string& why) {
    if (!Reachable(why))
        return ERROR_SERVICE_NOT_ACTIVE;
    // The Secret Service reports a removal of nothing as success.
    JobOutcome existing = Run(new QKeychain::ReadPasswordJob(kService), why);
    Wipe(existing.secret);
    if (existing.status != ERROR_SUCCESS)
        return existing.status;
    return Run(new QKeychain::DeletePasswordJob(kService), why).status;
}

}  // namespace vn
