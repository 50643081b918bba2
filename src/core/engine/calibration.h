#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "buffer/progbuffer.h"
#include "devices/activemodel.h"
#include "engine/engine.h"
#include "engine/interpreter.h"

namespace qm {

// The chip's factory calibration words (the model's CalibrationWord list), read and written back
// by the model's calibration scripts. The operations use them so: Program All and Erase All read
// them before the first erase and refuse a word without its form; Program All writes them back
// as part of the image it programs where the buffer holds them; both run the calibration write
// script after their own script (a model without one has an erase that spares the words), and
// read them again afterwards to confirm. Read
// All, Blank Check and Verify read them and show them; Blank Check and Verify expect them at
// their locations instead of the erased value or the buffer's.

// Whether the model keeps calibration words: it lists them and has a script to read them.
bool keepscalibration(const ActiveModel& model);

struct CalibrationRead {
    RunResult run;
    // words[k]: the whole word read into register cal<k+1>.
    std::vector<int32_t> words;
};

// Runs the calibration read script on a buffer and interpreter state of its own, as identify
// does; a script that leaves the supply switched on is switched off and counts as a script
// error.
CalibrationRead readcalibration(Engine& engine);

// Runs the calibration write script with each register holding its word to write: the kept bits
// over the erased value of the location. Same frame as readcalibration.
RunResult writecalibration(Engine& engine, const std::vector<int32_t>& words);

// "03FFh = 3480h, 2007h bits 13:12 = 10": the kept bits of every word.
std::string calibrationlist(const ActiveModel& model, const std::vector<int32_t>& words);

// The first word whose kept bits lack the form the model gives them, -1 when all have it.
int badcalibrationform(const ActiveModel& model, const std::vector<int32_t>& words);
// Whether the buffer holds the word's location (a FLASH word, CONF1, CONF2 when used).
bool heldbybuffer(const ActiveModel& model, const CalibrationWord& word);

// The first word whose kept bits differ between two reads, -1 when none does; with
// `outsidebuffer` only the words the buffer does not hold count.
int changedcalibration(const ActiveModel& model, const std::vector<int32_t>& before,
                       const std::vector<int32_t>& after, bool outsidebuffer = false);

// Texts for a word that lacks its form, and for one that was not kept: "the calibration word at
// 03FFh reads 3FFFh, not 34XXh", "03FFh reads 3FFFh instead of 3480h".
std::string badformtext(const CalibrationWord& word, int32_t read);
std::string changedtext(const CalibrationWord& word, int32_t kept, int32_t read);

// The calibration words as the buffer holds them, in the form of calibrationlist: only the
// locations the buffer has (FLASH words, CONF1, CONF2 when the model uses it); empty when it
// holds none of them.
std::string buffercalibration(const ProgBuffer& buffer, const ActiveModel& model);

// Puts the kept bits into the buffer at the locations it holds (FLASH words, CONF1, CONF2).
void mergecalibration(ProgBuffer& buffer, const ActiveModel& model,
                      const std::vector<int32_t>& words);

// What a check expects at a location (a FLASH word address, 2007h, 2008h) when it runs with
// kept calibration words (AlgState::kept): `expected` with the kept bits put in.
int32_t calibratedexpected(const Engine& engine, int32_t address, int32_t expected);

// The kept word at a location whose word as read lacks its form (Verify reports it, with the
// form as the value expected); nullptr when there is none.
const CalibrationWord* calibrationformfault(const Engine& engine, int32_t address, int32_t read);

}  // namespace qm
