#include "platform/Shell.h"

#include <QProcess>

#include <system_error>

namespace trv {

bool Shell::isProgram(const std::filesystem::path& target) {
    const QString extension = QString::fromStdU16String(target.extension().u16string()).toLower();
    if (extension == QLatin1String(".exe") || extension == QLatin1String(".com") ||
        extension == QLatin1String(".bat") || extension == QLatin1String(".cmd")) {
        return true;
    }
#ifdef Q_OS_WIN
    return false;
#else
    std::error_code error;
    if (!extension.isEmpty() || !std::filesystem::is_regular_file(target, error)) {
        return false;
    }
    const auto permissions = std::filesystem::status(target, error).permissions();
    return !error && (permissions & std::filesystem::perms::owner_exec) != std::filesystem::perms::none;
#endif
}

Status Shell::open(const std::filesystem::path& target, const QString& parameters) {
    std::error_code error;
    if (std::filesystem::is_directory(target, error)) {
        return openFolder(target);
    }
    if (isProgram(target)) {
        return startProgram(target, QProcess::splitCommand(parameters));
    }
    return openDocument(target);
}

Status RecordingShell::add(Request request) {
    m_requests.push_back(std::move(request));
    if (m_failure) {
        return Status(*m_failure);
    }
    return {};
}

Status RecordingShell::openDocument(const std::filesystem::path& file) {
    return add(Request{Request::Document, file, {}, {}, {}});
}

Status RecordingShell::openFolder(const std::filesystem::path& folder) {
    return add(Request{Request::Folder, folder, {}, {}, {}});
}

Status RecordingShell::openUrl(const QUrl& url) {
    return add(Request{Request::Url, {}, url, {}, {}});
}

Status RecordingShell::startProgram(const std::filesystem::path& program, const QStringList& arguments,
                                    const std::filesystem::path& workingFolder) {
    return add(Request{Request::Program, program, {}, arguments, workingFolder});
}

} // namespace trv
