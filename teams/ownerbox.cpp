#include "teams/ownerbox.h"

#include <QSignalBlocker>

#include "data/domfile.h"
#include "data/workingfiles.h"

void OwnerBox::refresh()
{
    QStringList owners;
    for (QString entry : WorkingFiles::entries(WorkingFiles::owners()))
        if (DomFile::hasRoot(WorkingFiles::owners() + entry, QStringLiteral("owner")))
            owners << entry.remove(QStringLiteral(".xml"));
    const bool chosen = currentIndex() >= 0;
    const QString owner = currentText();
    // A choice that no file offers (a loaded team's owner, or one removed
    // since) stays on top while it is the choice.
    if (chosen && !owners.contains(owner))
        owners.prepend(owner);
    // The choice does not change, so nothing is told about it.
    const QSignalBlocker blocker(this);
    clear();
    addItems(owners);
    setCurrentIndex(chosen ? int(owners.indexOf(owner)) : -1);
}

void OwnerBox::showPopup()
{
    refresh();
    QComboBox::showPopup();
}
