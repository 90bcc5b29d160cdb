#include "data/OtworzTabele.h"

#include "data/EngineError.h"
#include "data/Table.h"
#include "platform/MessageBoxes.h"

namespace rawen {

void ZapiszTabele(Table &tabela)
{
    if (!tabela.isOpen())
        return;
    if (tabela.state() == Table::dsEdit || tabela.state() == Table::dsInsert) {
        try {
            tabela.post();
        } catch (const EngineError &) {
            tabela.cancel();
            MessageBoxes::current().error(QStringLiteral("Błąd zapisu"));
        }
    }
    tabela.flushBuffers();
}

} // namespace rawen
