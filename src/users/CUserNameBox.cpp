#include "users/CUserNameBox.h"

#include "platform/CQtText.h"

#include <QComboBox>

void CUserNameBox::Fill(QComboBox* combo, const COwnedList<CUser>& users)
{
    combo->clear();
    for (const auto& user : users) {
        const QString name = ToQt(user->m_name);
        int at = 0;
        while (at < combo->count() && QString::compare(combo->itemText(at), name, Qt::CaseInsensitive) <= 0)
            ++at;
        combo->insertItem(at, name);
    }
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
}
