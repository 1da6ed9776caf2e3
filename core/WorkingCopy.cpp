#include "core/WorkingCopy.h"

#include "platform/SystemErrors.h"
#include "platform/TextFiles.h"

namespace trv::WorkingCopy {

std::filesystem::path of(const std::filesystem::path& file) {
    std::filesystem::path work = file;
    work += ".zapis";
    return work;
}

Status putInPlace(const std::filesystem::path& work, const std::filesystem::path& file, const Status& written) {
    std::error_code ec;
    if (!written.ok()) {
        std::filesystem::remove(work, ec);
        // The message names the table the operator knows, not the working copy.
        QString message = written.message();
        message.replace(TextFiles::toQString(work), TextFiles::toQString(file));
        return Status(Error{written.error().number, message});
    }
    std::filesystem::rename(work, file, ec);
    if (ec) {
        const QString reason = SystemErrors::describe(ec);
        std::filesystem::remove(work, ec);
        return Status::fail(QStringLiteral("Nelze uložit tabulku %1: %2").arg(TextFiles::toQString(file), reason));
    }
    return Status::success();
}

} // namespace trv::WorkingCopy
