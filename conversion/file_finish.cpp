#include "file_finish.h"

#include "file_system.h"
#include "mp3_finish.h"

std::string FinishMp3(FileTransaction& file, const DecoderCall& decoder) {
    std::string problem;
    if (!CarryTagsOver(file.Entry(), file.ToolMp3(), decoder, problem))
        return problem;
    WorkFile& work = file.Work();
    if (file.ToolMp3() != work.Path() && !MoveFileOver(file.ToolMp3(), work.Path()))
        return "the MP3 cannot be moved to " + work.Path() + ": " + LastSystemErrorText();
    if (!work.PutInPlace(problem))
        return "the MP3 cannot take the place of " + file.Mp3() + ": " + problem;
    return std::string();
}
