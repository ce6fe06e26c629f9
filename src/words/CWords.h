#pragma once
#include "platform/CFormView.h"

// Words Page
class CWords : public CFormView {
    Q_OBJECT
public:
    explicit CWords(CKelto4Doc* document, QWidget* parent = nullptr);
    void OnInitialUpdate() override;
    void OnUpdate(CDocView* sender, long hint) override;
};
