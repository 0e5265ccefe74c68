<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>CalendarKind</name>
    <message>
        <source>节假日</source>
        <translation>Holiday</translation>
    </message>
    <message>
        <source>调休上班</source>
        <translation>Make-up workday</translation>
    </message>
    <message>
        <source>休息日</source>
        <translation>Rest day</translation>
    </message>
</context>
<context>
    <name>DayVerdict</name>
    <message>
        <source>未签退</source>
        <translation>No sign-out</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>休息</source>
        <translation>Rest</translation>
    </message>
    <message>
        <source>节假日</source>
        <translation>Holiday</translation>
    </message>
    <message>
        <source>缺勤</source>
        <translation>Absent</translation>
    </message>
    <message>
        <source>迟到%1分钟</source>
        <translation>Late %1 min</translation>
    </message>
    <message>
        <source>早退%1分钟</source>
        <translation>Left %1 min early</translation>
    </message>
    <message>
        <source>正常</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>补</source>
        <translation>Added</translation>
    </message>
    <message>
        <source>改</source>
        <translation>Changed</translation>
    </message>
</context>
<context>
    <name>Translation</name>
    <message>
        <source>zh_CN</source>
        <translation>en</translation>
    </message>
</context>
<context>
    <name>frimEmpImport</name>
    <message>
        <source>导入员工信息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>姓    名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>部    门</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>录入日期</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>员工编号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>头像</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0/0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下一条</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frimImportExport</name>
    <message>
        <source>导入与导出员工信息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选择要操作的员工</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>浏览</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>关于 签到系统</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>签到系统</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>版本</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系统信息(&amp;S)...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmAttendanceSummary</name>
    <message>
        <source>考勤统计</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>年</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>月</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>统计</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>员工</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>部门合计</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每日出勤率</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>各部门迟到</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>说明：统计到昨天为止，今天的考勤不计入；在休息日或节假日上班的，计为出勤。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>预览</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打印</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出Excel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmCardSet</name>
    <message>
        <source>签到卡设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>预览</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>单位名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>备注信息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>单位信息设定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字体</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LOGO</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>备注信息设定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>内容</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmChgPwd</name>
    <message>
        <source>修改密码</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原密码(&amp;O)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新密码(&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>再次输入新密码(&amp;V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放弃</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmConDbParaSet</name>
    <message>
        <source>数据库连接参数设定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>服 务 器</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据库服务器IP或名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>登 陆 名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据库登录账号名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>密    码</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上行登陆账号对应的登陆密码</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据库名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>本系统使用的数据库名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>测试当前设定的数据库连接参数是否有效</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>测试</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>将设定的信息保存到系统</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放弃设定、关闭窗口</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放弃</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmCorrection</name>
    <message>
        <source>考勤修正</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>员工工号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>部门（一天）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日期</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>查询</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>姓名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>签到</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>签退</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修正</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>其他记录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HH:mm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>补签</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修改</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmCorrectionTrail</name>
    <message>
        <source>考勤修正记录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>从</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>至</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全部员工</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>查询</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>操作</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日期</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原签到</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原签退</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新签到</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新签退</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原因</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>操作人</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>主机</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>程序</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmDeptAppend</name>
    <message>
        <source>增加新部门</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新增部门名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确认</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放弃</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmDeptEdit</name>
    <message>
        <source>修改部门名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确认</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放弃</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmEmployeeMange</name>
    <message>
        <source>员工信息录入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>姓名(&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工作岗位(&amp;K)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>录入系统时间(&amp;T)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新增</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>清除显示值,允许录入新信息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>将当前学员信息追加到数据库中</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出学员信息管理窗口</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>头像</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmEmployeeMonthExport</name>
    <message>
        <source>员工考勤月报表导出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请选择要导出的月份</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>年</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>月</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmEmployeeMonthReport</name>
    <message>
        <source>员工考勤月报表打印</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请选择要打印的月份</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>年</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>月</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>预览</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打印</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmLogin</name>
    <message>
        <source>管理登陆</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请输入管理密码</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>登陆</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放弃</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>签到系统管理软件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系统(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>部门(&amp;D)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>员工(&amp;E)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>考勤(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>弹出菜单</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>签到卡信息设置(&amp;C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示列表(&amp;D)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>追加(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除(&amp;R)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修改(&amp;E)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出(&amp;O)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导入初始信息(&amp;I)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打印签到卡(&amp;P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>考勤统计(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>今日未到(&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未签退(&amp;M)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>作息时间(&amp;W)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>节假日与调休(&amp;C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>帮助文件(&amp;F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>访问官方网站(&amp;V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关于(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>考勤系统</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系统(&amp;F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>人员管理(&amp;P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>考勤管理(&amp;P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系统管理(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>管理员登陆(&amp;I)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修改管理密码(&amp;P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出管理状态(&amp;O)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+X</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导入员工信息(&amp;I)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出员工信息(&amp;E)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>录入员工信息(&amp;I)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示考勤窗口(&amp;D)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+D</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示当日签到信息(&amp;T)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+T</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出考勤月报表(&amp;O)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打印考勤月报表(&amp;P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据库设定(&amp;D)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>单位名称设定(&amp;U)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>更新部门数据(&amp;D)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>扫描测试(&amp;T)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>备份当月签到数据(&amp;B)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>帮助文件(&amp;H)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关于(&amp;A) </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmMissingDeparture</name>
    <message>
        <source>未签退</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>从</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>至</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>查询</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>姓名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>部门</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>签到时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmNotArrived</name>
    <message>
        <source>今日未到</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>部门</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>姓名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>刷新</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmSetSchoolName</name>
    <message>
        <source>设定使用单位名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请设定安装本程序的单位名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设定</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmWorkCalendar</name>
    <message>
        <source>节假日与调休</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>年</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导入…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日期</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>类型</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>至</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除所选</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmWorkSchedule</name>
    <message>
        <source>作息时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>适用范围</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>使用单位作息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
