// Glyphs: the small pictures drawn on speed buttons, by the glyph name a form gives a button.
//
// Known names (case-insensitive): "right", "rightAll", "left", "leftAll" (moving items between
// lists), "confirm", "cancel", "insert", "edit", "delete", "search", "verify", "print",
// "preview", "save", "help", "close" and "values" (commands), each also under the Portuguese
// word the forms use for it ("direita", "direita-todos", "esquerda", "esquerda-todos",
// "confirmar", "cancelar", "incluir", "alterar", "excluir", "procurar" or "pesquisar",
// "verificar" or "atualizar", "imprimir", "visualizar", "salvar" or "salvar como", "ajuda",
// "fechar", "replicar"). Any other name draws nothing.
#pragma once

#include <QIcon>
#include <string>

namespace shell {

// The glyph of that name, or a null icon when the name is unknown.
QIcon glyphNamed(const std::string& name);

}  // namespace shell
