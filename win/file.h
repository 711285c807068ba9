#pragma once

#include "handle.h"

enum class FileAccess { Read, Write, Append };

// Opens a file no child process inherits: a file held by the program while
// a pipeline's command processor is created would otherwise stay open in
// that pipeline's tools until they end. Read: the file must be there, others
// may read, write and delete it meanwhile. Write: made or emptied. Append:
// made or opened as it is. Others may read it while it is written.
Handle OpenFileNotInherited(const wchar_t* path, FileAccess access);
