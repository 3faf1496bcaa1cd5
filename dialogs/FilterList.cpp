#include "dialogs/FilterList.h"

#include "services/LanguageTable.h"
#include "services/Strings.h"

#include <utility>

namespace fw {

FilterListModel::FilterListModel(const std::string& currentFormName, std::vector<std::string> filters,
                                 FilterFormOps& ops, DefineFilter define, ShowMessage message)
    : m_defaultText(langStr("FD_DEFAULT")), m_filters(std::move(filters)), m_ops(ops), m_define(std::move(define)),
      m_message(std::move(message))
{
    m_entries.push_back(m_defaultText);
    m_entries.insert(m_entries.end(), m_filters.begin(), m_filters.end());
    SelectByText(currentFormName);
}

void FilterListModel::SetSelection(int index)
{
    m_selection = index >= 0 && index < static_cast<int>(m_entries.size()) ? index : -1;
}

bool FilterListModel::SelectByText(const std::string& text)
{
    const std::string prefix = toUpper(text);
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (startsWith(toUpper(m_entries[i]), prefix)) {
            m_selection = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

void FilterListModel::ReportDefaultForm() const
{
    if (m_message)
        m_message(langStr("FLTRDLG_MSG_0"), langStr("FLTRDLG_MSG_DLG"));
}

void FilterListModel::Append(const std::string& filter)
{
    m_entries.push_back(filter);
    m_filters.push_back(filter);
    m_selection = static_cast<int>(m_entries.size()) - 1;
}

bool FilterListModel::New()
{
    std::string filter;
    if (!m_define || !m_define("", filter) || filter.empty())
        return false;
    if (!m_ops.AddForm(filter))
        return false;
    Append(filter);
    return true;
}

bool FilterListModel::Modify()
{
    if (!HasSelection())
        return false;
    if (m_selection == 0) {
        ReportDefaultForm();
        return false;
    }
    const std::string old = m_entries[m_selection];
    std::string filter;
    if (!m_define || !m_define(old, filter) || filter.empty() || equalsNoCase(filter, old))
        return false;
    if (!m_ops.RenameForm(filter, old))
        return false;
    m_entries[m_selection] = filter;
    m_filters[m_selection - 1] = filter;
    return true;
}

bool FilterListModel::Duplicate()
{
    if (!HasSelection())
        return false;
    // The source's name; the default-form text stands for the main form.
    const std::string source = m_entries[m_selection];
    std::string filter;
    if (!m_define || !m_define(m_selection == 0 ? std::string() : source, filter) || filter.empty())
        return false;
    if (!m_ops.CopyForm(filter, source))
        return false;
    Append(filter);
    return true;
}

bool FilterListModel::Delete()
{
    if (!HasSelection())
        return false;
    if (m_selection == 0) {
        ReportDefaultForm();
        return false;
    }
    const int index = m_selection;
    if (!m_ops.RemoveForm(m_entries[index]))
        return false;
    m_entries.erase(m_entries.begin() + index);
    m_filters.erase(m_filters.begin() + (index - 1));
    // The entry that moved up into the place, else back to the default form.
    m_selection = index < static_cast<int>(m_entries.size()) ? index : 0;
    return true;
}

void FilterListModel::Accept()
{
    if (HasSelection())
        m_result = m_entries[m_selection];
}

}  // namespace fw
