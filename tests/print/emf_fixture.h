// A small EMF page picture made with libuemf, standing in for what the print program leaves.
#pragma once

#include <QString>

namespace vardel::test {

// An A4 page (0.01 mm per device unit) with a black frame 3 mm wide from (20, 10) mm to
// (197, 40) mm and a filled black square from (100, 200) to (120, 220) mm. False when the file
// could not be written.
bool WriteFixtureEmf(const QString& path);

}  // namespace vardel::test
