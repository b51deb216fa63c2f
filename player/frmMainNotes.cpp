// Notes document: the notes list, the session information list and the start and end labels.
#include "frmMain.h"

#include <QTreeWidget>

void frmMain::LoadXML(QTreeWidget* ListNotes) { (void)ListNotes; }
void frmMain::InitMetaData(const pugi::xml_document* document) { (void)document; }
QString frmMain::ElementGet(const pugi::xml_document& document, const QString& path) {
    (void)document;
    return path;
}
