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
    <name>EmployeeMonthReport</name>
    <message>
        <source>员工出勤月报表</source>
        <translation>Monthly Attendance Report</translation>
    </message>
    <message>
        <source>月员工考勤报表</source>
        <translation> Attendance Report</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>打印日期：</source>
        <translation>Printed:</translation>
    </message>
    <message>
        <source>M</source>
        <comment>date format of the month before the title</comment>
        <translation>MMM</translation>
    </message>
</context>
<context>
    <name>HtmlPage</name>
    <message>
        <source>今日</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>今日未到</source>
        <translation>Not arrived</translation>
    </message>
    <message>
        <source>未签退</source>
        <translation>No departure</translation>
    </message>
    <message>
        <source>月度统计</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>zh-CN</source>
        <extracomment>the pages&apos; language tag (BCP 47)</extracomment>
        <translation>en</translation>
    </message>
    <message>
        <source>考勤</source>
        <translation>Attendance</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Sign out</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
</context>
<context>
    <name>ReportPreview</name>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>请输入要查找的文字：</source>
        <translation>Text to find:</translation>
    </message>
    <message>
        <source>导出PDF</source>
        <translation>Export PDF</translation>
    </message>
    <message>
        <source>PDF文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>第 %1 页</source>
        <translation>Page %1</translation>
    </message>
    <message>
        <source>各页目录</source>
        <translation>Page list</translation>
    </message>
    <message>
        <source>打印...</source>
        <translation>Print...</translation>
    </message>
    <message>
        <source>打印报表</source>
        <translation>Print the report</translation>
    </message>
    <message>
        <source>拷贝</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>单页显示</source>
        <translation>One page</translation>
    </message>
    <message>
        <source>多页显示</source>
        <translation>Several pages</translation>
    </message>
    <message>
        <source>缩小</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>放大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>上一页</source>
        <translation>Previous page</translation>
    </message>
    <message>
        <source>下一页</source>
        <translation>Next page</translation>
    </message>
    <message>
        <source>后退</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>前进</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>导出PDF文件</source>
        <translation>Export as a PDF file</translation>
    </message>
    <message>
        <source>打印失败！</source>
        <translation>Printing failed!</translation>
    </message>
    <message>
        <source>找不到“%1”。</source>
        <translation>“%1” was not found.</translation>
    </message>
    <message>
        <source>PDF文件已导出！</source>
        <translation>The PDF file has been exported!</translation>
    </message>
    <message>
        <source>导出PDF失败！
%1</source>
        <translation>Exporting the PDF failed!
%1</translation>
    </message>
</context>
<context>
    <name>SingleEmployeeInfoReport</name>
    <message>
        <source>张三</source>
        <translation>John Smith</translation>
    </message>
    <message>
        <source>办公室</source>
        <translation>Office</translation>
    </message>
    <message>
        <source>打印签到卡</source>
        <translation>Print Sign-in Cards</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>岗位</source>
        <translation>Dept.</translation>
    </message>
    <message>
        <source>编号</source>
        <translation>No.</translation>
    </message>
</context>
<context>
    <name>SummaryReport</name>
    <message>
        <source>考勤月汇总</source>
        <translation>Monthly Attendance Summary</translation>
    </message>
    <message>
        <source>编号</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>部门</source>
        <translation>Department</translation>
    </message>
    <message>
        <source>应出勤
天数</source>
        <translation>Work
days</translation>
    </message>
    <message>
        <source>出勤
天数</source>
        <translation>Days
present</translation>
    </message>
    <message>
        <source>迟到
次数</source>
        <translation>Late
times</translation>
    </message>
    <message>
        <source>迟到
分钟</source>
        <translation>Late
min.</translation>
    </message>
    <message>
        <source>早退
次数</source>
        <translation>Early
times</translation>
    </message>
    <message>
        <source>早退
分钟</source>
        <translation>Early
min.</translation>
    </message>
    <message>
        <source>未签退
次数</source>
        <translation>No
exit</translation>
    </message>
    <message>
        <source>缺勤
天数</source>
        <translation>Absent
days</translation>
    </message>
    <message>
        <source>工作
时长</source>
        <translation>Hours
worked</translation>
    </message>
    <message>
        <source>修正
天数</source>
        <translation>Corr.
days</translation>
    </message>
    <message>
        <source>打印日期：</source>
        <translation>Printed:</translation>
    </message>
    <message>
        <source>应出勤天数</source>
        <translation>Working days</translation>
    </message>
    <message>
        <source>出勤天数</source>
        <translation>Days present</translation>
    </message>
    <message>
        <source>迟到次数</source>
        <translation>Times late</translation>
    </message>
    <message>
        <source>迟到分钟</source>
        <translation>Minutes late</translation>
    </message>
    <message>
        <source>早退次数</source>
        <translation>Times left early</translation>
    </message>
    <message>
        <source>早退分钟</source>
        <translation>Minutes left early</translation>
    </message>
    <message>
        <source>未签退次数</source>
        <translation>No departure</translation>
    </message>
    <message>
        <source>缺勤天数</source>
        <translation>Days absent</translation>
    </message>
    <message>
        <source>工作时长</source>
        <translation>Hours worked</translation>
    </message>
    <message>
        <source>修正天数</source>
        <translation>Days corrected</translation>
    </message>
    <message>
        <source>%1年%2月</source>
        <translation>%2/%1</translation>
    </message>
    <message>
        <source>%1 %2考勤汇总</source>
        <translation>%1 Attendance Summary %2</translation>
    </message>
    <message>
        <source>部门合计</source>
        <translation>Dept. total</translation>
    </message>
    <message>
        <source>（无部门）</source>
        <translation>(no department)</translation>
    </message>
    <message>
        <source>单位合计</source>
        <translation>Unit total</translation>
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
    <name>WebPages</name>
    <message>
        <source>M月d日 HH:mm</source>
        <translation>MMM d HH:mm</translation>
    </message>
    <message>
        <source>（无部门）</source>
        <translation>(no department)</translation>
    </message>
    <message>
        <source>(%1人)</source>
        <translation>(%1)</translation>
    </message>
    <message>
        <source>编号</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>到达</source>
        <translation>Arrival</translation>
    </message>
    <message>
        <source>离开</source>
        <translation>Departure</translation>
    </message>
    <message>
        <source>情况</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>今日 %1</source>
        <translation>Today, %1</translation>
    </message>
    <message>
        <source>yyyy年M月d日 dddd</source>
        <translation>dddd, MMMM d, yyyy</translation>
    </message>
    <message>
        <source>已到 %1</source>
        <translation>Present %1</translation>
    </message>
    <message>
        <source>未到 %1</source>
        <translation>Not arrived %1</translation>
    </message>
    <message>
        <source>休息 %1</source>
        <translation>Resting %1</translation>
    </message>
    <message>
        <source>更新于 %1</source>
        <translation>Updated at %1</translation>
    </message>
    <message>
        <source>今天还没有记录。</source>
        <translation>No records yet today.</translation>
    </message>
    <message>
        <source>今日</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>部门</source>
        <translation>Department</translation>
    </message>
    <message>
        <source>今日未到</source>
        <translation>Not arrived today</translation>
    </message>
    <message>
        <source>(%1人, %2)</source>
        <translation>(%1, %2)</translation>
    </message>
    <message>
        <source>未签退</source>
        <translation>No departure</translation>
    </message>
    <message>
        <source>从</source>
        <translation>From</translation>
    </message>
    <message>
        <source>到</source>
        <translation>To</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>%1条记录</source>
        <translation>%1 records</translation>
    </message>
    <message>
        <source>合计</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>无部门</source>
        <translation>No department</translation>
    </message>
    <message>
        <source>月度统计</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>月份</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>查看</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>下载：</source>
        <translation>Download: </translation>
    </message>
    <message>
        <source>部门合计</source>
        <translation>Department totals</translation>
    </message>
    <message>
        <source>每日出勤率</source>
        <translation>Attendance rate by day</translation>
    </message>
    <message>
        <source>各部门迟到次数</source>
        <translation>Late arrivals by department</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>修正</source>
        <translation>Corrected</translation>
    </message>
    <message>
        <source>M月d日 ddd</source>
        <translation>ddd MMM d</translation>
    </message>
    <message>
        <source>本月合计</source>
        <translation>Month total</translation>
    </message>
    <message>
        <source>考勤查看</source>
        <translation>Attendance</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>登录</source>
        <translation>Sign in</translation>
    </message>
</context>
<context>
    <name>WebSite</name>
    <message>
        <source>请登录</source>
        <translation>Please sign in</translation>
    </message>
    <message>
        <source>请先登录。</source>
        <translation>Please sign in first.</translation>
    </message>
    <message>
        <source>无法读取考勤记录</source>
        <translation>The attendance records cannot be read</translation>
    </message>
    <message>
        <source>月份无效</source>
        <translation>Invalid month</translation>
    </message>
    <message>
        <source>月份应为 YYYY-MM（1900-2100年，1-12月）：%1</source>
        <translation>The month must be YYYY-MM (years 1900-2100, months 1-12): %1</translation>
    </message>
    <message>
        <source>请求无效</source>
        <translation>Invalid request</translation>
    </message>
    <message>
        <source>参数过长。</source>
        <translation>A parameter is too long.</translation>
    </message>
    <message>
        <source>路径过长。</source>
        <translation>The path is too long.</translation>
    </message>
    <message>
        <source>路径无效。</source>
        <translation>Invalid path.</translation>
    </message>
    <message>
        <source>请求过大。</source>
        <translation>The request is too large.</translation>
    </message>
    <message>
        <source>找不到页面</source>
        <translation>Page not found</translation>
    </message>
    <message>
        <source>没有这个页面：%1</source>
        <translation>There is no such page: %1</translation>
    </message>
    <message>
        <source>此页面不接受这种请求。</source>
        <translation>This page does not accept this kind of request.</translation>
    </message>
    <message>
        <source>密码错误次数过多，请%1秒后再试。</source>
        <translation>Too many wrong passwords; please try again in %1 seconds.</translation>
    </message>
    <message>
        <source>尚未设置查看密码。</source>
        <translation>No viewer password has been set yet.</translation>
    </message>
    <message>
        <source>密码错误。</source>
        <translation>Wrong password.</translation>
    </message>
    <message>
        <source>日期无效</source>
        <translation>Invalid date</translation>
    </message>
    <message>
        <source>日期应为 YYYY-MM-DD（1900-2100年）：%1</source>
        <translation>Dates must be YYYY-MM-DD (years 1900-2100): %1</translation>
    </message>
    <message>
        <source>开始日期须不晚于结束日期，且相隔不超过一年。</source>
        <translation>The start date must not be after the end date, and they may be at most a year apart.</translation>
    </message>
    <message>
        <source>排序参数无效。</source>
        <translation>Invalid sort parameters.</translation>
    </message>
    <message>
        <source>缺少员工编号。</source>
        <translation>The employee number is missing.</translation>
    </message>
    <message>
        <source>找不到员工</source>
        <translation>Employee not found</translation>
    </message>
    <message>
        <source>没有编号为 %1 的员工。</source>
        <translation>There is no employee numbered %1.</translation>
    </message>
    <message>
        <source>无法生成文件</source>
        <translation>The file cannot be made</translation>
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
