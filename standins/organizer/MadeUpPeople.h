#pragma once

#include <QByteArray>
#include <QtGlobal>

// Made-up people, the same on every run, for address books no file holds: the records
// `--generate` adds and the benchmark's vCard files. A family name of three syllables,
// then a given name and a city, drawn in that order.
class MadeUpPeople {
 public:
  QByteArray FamilyName() {
    static const char* const syllables[] = {"bar", "cot", "den", "fal", "gor", "han", "kel", "lom",
                                            "mar", "nor", "pen", "ros", "sal", "tor", "vin", "wyn"};
    QByteArray name;
    for (int s = 0; s < 3; ++s) name += syllables[Next() % 16];
    name[0] = static_cast<char>(name[0] - 'a' + 'A');
    return name;
  }
  const char* GivenName() {
    static const char* const names[] = {"Ann", "Bob", "Cara", "Dev", "Eve", "Finn", "Gus", "Hal"};
    return names[Next() % 8];
  }
  const char* City() {
    static const char* const cities[] = {"Leeds", "York", "Hull", "Ripon", "Otley", "Selby"};
    return cities[Next() % 6];
  }
  quint64 Next() {  // xorshift64
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }

 private:
  quint64 state_ = 88172645463325252ull;
};
