#pragma once

// Outcome of reading one data file. Only Fatal stops start-up: the file is missing (its
// "not found" message has been shown) or a discipline names a talent nobody defines.
enum class ReadResult { Ok, Fatal };
