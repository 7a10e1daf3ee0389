// Where a check or assertion sits in our sources, as its messages name it.
#pragma once

namespace pw::foundation {

// The part of a compiler-given source path below its "src/" folder ("foundation/GenericArray.cpp"),
// or the whole path for files outside it. Evaluated at compile time.
consteval const char* SourcePath(const char* path)
{
    const char* result = path;
    for (const char* p = path; *p; ++p) {
        if (p[0] == 's' && p[1] == 'r' && p[2] == 'c' && p[3] == '/' && (p == path || p[-1] == '/'))
            result = p + 4;
    }
    return result;
}

} // namespace pw::foundation

#define PW_SOURCE_FILE (pw::foundation::SourcePath(__FILE__))

// The file and line arguments every check and thrower takes.
#define PW_HERE PW_SOURCE_FILE, __LINE__
