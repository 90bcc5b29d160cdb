#pragma once

namespace rawen {

// The engine operations a test can make fail, each just before it touches the file.
enum class EngineOp {
    Open,
    Create,
    Copy,
    Delete,
    Replace,
    Append,
    Edit,
    Write,
    Post,
    Flush,
    EmptyFields,
};

} // namespace rawen
