#pragma once

// Outcome of reading one data file. Only Fatal stops start-up: the file is missing or cannot
// be read (the reason has been shown), or a discipline names a talent nobody defines.
enum class ReadResult { Ok, Fatal };
