#pragma once
#include "platform/CFormView.h"

// Options Page
class COptions : public CFormView {
    Q_OBJECT
public:
    explicit COptions(CKelto4Doc* document, QWidget* parent = nullptr);
    void OnInitialUpdate() override;
    void OnUpdate(CDocView* sender, long hint) override;
};
