#pragma once
#include "platform/CFormView.h"

// Test Page
class CTest : public CFormView {
    Q_OBJECT
public:
    explicit CTest(CKelto4Doc* document, QWidget* parent = nullptr);
    void OnInitialUpdate() override;
    void OnUpdate(CDocView* sender, long hint) override;
};
