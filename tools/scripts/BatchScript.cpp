#include "tools/scripts/BatchScript.h"

#include "platform/File.h"
#include "platform/KorvalaError.h"
#include "platform/Paths.h"
#include "platform/Terminal.h"

namespace korvala {

std::string scriptFolder()
{
    return userPrivateFolder();
}

std::string batchScriptText(const std::vector<std::string>& lines, bool pause)
{
    std::string text = "#!/bin/sh\nfailed=0\n";
    for (const std::string& line : lines)
        text += "{ " + line + "; } || failed=1\n";
    if (pause)
        text += "printf '\\nPress Enter to close this window. '\nread answer\n";
    text += "exit \"$failed\"\n";
    return text;
}

std::string writeBatchScript(const std::vector<std::string>& lines, const std::string& fileName, bool pause)
{
    const std::string folder = scriptFolder();
    const std::string path = folder + "/" + fileName;
    if (const std::error_code e = ensurePrivateFolder(folder))
        throw KorvalaError(cannotCreateFileText(path, e));
    const std::string text = batchScriptText(lines, pause);
    TNewOutput out;
    std::error_code e = out.create(path, 0700);
    if (!e)
        e = out.file().writeAll(text.data(), text.size());
    if (!e)
        e = out.commit();
    if (e)
        throw KorvalaError(cannotCreateFileText(path, e));
    return path;
}

void RunBatchScript(const std::vector<std::string>& lines, const std::string& fileName)
{
    const std::string path = writeBatchScript(lines, fileName, true);
    if (startInTerminal({"/bin/sh", path}))
        throw KorvalaError("No terminal program was found to run \"" + path + "\" in.");
}

}  // namespace korvala
