// Quendra: the host's working context (branches, operator, processing date, server address,
// product picture, active module) and the product-code picture object.
//
// The host application fills context() once at start-up, before it loads the module; the forms
// only read it through the functions below. Geral::ModuloAtiv reports the active module code.
// Everything runs on the user-interface thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Quendra {

struct WorkingContext {
  std::string filiProc = "0001", nomeFiliProc, filiProcFat = "0001", nomeFiliProcFat;
  bool moduFili = false;
  std::string operador = "OPERADOR";
  double dataProc = 0;  // processing date (day count); 0 = today
  std::string webURL = "127.0.0.1";
  int webPort = 0;
  std::string dbPict = "9.99.999;1;_";  // product-code picture (3 levels)
  int moduloAtiv = 0;                   // active module code (36 = '$')
  std::string databasePath;             // the local SQLite database of the lookup queries
};

WorkingContext& context();

std::string FiliProc();
std::string NomeFiliProc();
std::string FiliProcFat();
std::string NomeFiliProcFat();
bool ModuFili();
std::string Operador();
// Processing date of a branch. One processing date serves every branch of this host; 0 in the
// context means the local date of today.
double DataProc(const std::string& branch);
std::string WebURL();
int WebPort();

// Picture kind 0 is the product code, the only picture this host keeps.
inline constexpr int kPictProduto = 0;

// The edit mask of a picture kind ("9.99.999;1;_" for the product); throws
// std::invalid_argument for an unknown kind.
std::string DBPict(int pictureKind);

// A hierarchical code picture: levels of character slots separated by literals
// ("9.99.999" has three levels of widths 1, 2 and 3, separated by dots).
class TPictureObject {
 public:
  explicit TPictureObject(std::string_view mask);

  const std::string& mask() const { return mask_; }
  int levels() const { return static_cast<int>(widths_.size()); }
  const std::vector<int>& widths() const { return widths_; }

  // The code written in the picture's form, or nullopt when it does not fit. A code may be
  // typed with separators ("1.1.1": each level padded with zeros to its width) or without
  // them ("101001": cut by the widths; up to the first level's width it is one padded level).
  // Blanks around it are ignored. Either way it may stop after any level.
  std::optional<std::string> normalize(std::string_view code) const;
  // The number of levels a code in the picture's form fills (0 for an empty code).
  int levelOf(std::string_view formattedCode) const;

 private:
  std::string mask_;
  std::vector<int> widths_;
  std::vector<bool> digitsOnly_;       // per level
  std::vector<std::string> literals_;  // after each level but the last
};

// The picture object of a picture kind; throws std::invalid_argument for an unknown kind.
TPictureObject DBPictObj(int pictureKind);

}  // namespace Quendra

namespace Geral {
// The active module code of the host (36, the character '$', enables the sale-value display).
int ModuloAtiv();
}  // namespace Geral
