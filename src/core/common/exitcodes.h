#pragma once

// What vetral-cli tells a script by its exit status.
namespace ExitCode {

constexpr int Done = 0;     // passed, written (and verified), read, found
constexpr int Refused = 1;  // the program's own refusal: the check, or data not taken
constexpr int Failure = 2;  // bad arguments, or the platform failed (file, port)
constexpr int NoAnswer = 3; // the station did not answer, or none was found
constexpr int Differs = 4;  // the station holds something else than was written, or another station answered
constexpr int Stopped = 5;  // stopped by a signal before the end

} // namespace ExitCode
